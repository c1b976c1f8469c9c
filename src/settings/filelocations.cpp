#include "settings/filelocations.h"

#include "korvaneconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#ifdef Q_OS_WIN
#include <direct.h>
#endif

namespace korvane::settings {

namespace {

// Makes one folder that only its owner can enter. On Windows a new folder takes its permissions from
// the folder it is made in, and the user's application data folder is the user's own already.
bool makeOwnerOnlyFolder(const QString &path)
{
#ifdef Q_OS_WIN
    return ::_wmkdir(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16())) == 0;
#else
    return ::mkdir(QFile::encodeName(path).constData(), S_IRWXU) == 0;
#endif
}

// The user's folder for the settings file: ~/.config/korvane (XDG_CONFIG_HOME), and on Windows the
// roaming application data (%APPDATA%\korvane), where the favourites are too, so that both follow a
// user who logs on at another computer of the same network.
QString userSettingsFolder()
{
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
}

// Creates the folder and any missing folder above it, owner-only; the folders that exist already keep
// their permissions. Empty when the folder is there afterwards.
QString createFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {};
    const QString parent = info.path();
    if (parent != path) {
        if (QString failure = createFolder(parent); !failure.isEmpty())
            return failure;
    }
    if (!makeOwnerOnlyFolder(path) && errno != EEXIST) {
        const int error = errno;
        return QStringLiteral("The folder \"%1\" cannot be created: %2")
            .arg(QDir::toNativeSeparators(path), qt_error_string(error));
    }
    if (!QFileInfo(path).isDir())
        return QStringLiteral("The folder \"%1\" cannot be created: a file has that name.")
            .arg(QDir::toNativeSeparators(path));
    return {};
}

} // namespace

FileLocations FileLocations::forExecutableFolder(const QString &folder)
{
    FileLocations locations;
    const QString beside = folder + QStringLiteral("/lang");
    if (QFileInfo(beside).isDir()) {
        locations.m_mode = Mode::Portable;
        locations.m_languageFolder = beside;
        locations.m_settingsFile = folder + QStringLiteral("/settings.ini");
        locations.m_favoritesStoreFile = QStringLiteral("Korvane.mdb");
        locations.m_historyFile = folder + QStringLiteral("/history.txt");
        return locations;
    }
    locations.m_mode = Mode::Installed;
    locations.m_languageFolder = QDir::cleanPath(folder + QStringLiteral("/" KORVANE_LANG_DIR_FROM_BINDIR));
    locations.m_settingsFile = userSettingsFolder() + QStringLiteral("/settings.ini");
    locations.m_favoritesStoreFile =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Korvane.mdb");
    locations.m_historyFile =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/history.txt");
    return locations;
}

QString FileLocations::createUserFolders() const
{
    if (m_mode == Mode::Portable)
        return {};
    for (const QString &file : {m_settingsFile, m_favoritesStoreFile}) {
        if (QString failure = createFolder(QFileInfo(file).path()); !failure.isEmpty())
            return failure;
    }
    return {};
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
}

} // namespace korvane::settings
