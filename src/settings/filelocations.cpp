#include "settings/filelocations.h"

#include "korvaneconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace korvane::settings {

namespace {

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
    if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0 && errno != EEXIST) {
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
    locations.m_settingsFile =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/settings.ini");
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
