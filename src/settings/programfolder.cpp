#include "settings/programfolder.h"

#include "settings/profile.h"

#include <QDir>

namespace korvane {

namespace {
const QString LangSection = QStringLiteral("lang");
}

ProgramFolder::ProgramFolder(QString path)
    : m_path(QDir::cleanPath(std::move(path)))
    , m_locations(FileLocations::forExecutableFolder(m_path))
{
}

QString ProgramFolder::settingsFile() const
{
    return m_locations.settingsFile();
}

QString ProgramFolder::languageFile(const QString &language) const
{
    // The stored name is used verbatim: an empty one names "lang/.lang", which does not exist.
    return m_locations.languageFolder() + QStringLiteral("/") + language + QStringLiteral(".lang");
}

QString ProgramFolder::setting(const QString &key) const
{
    return profile::readProfileString(LangSection, key, settingsFile());
}

bool ProgramFolder::writeSetting(const QString &key, const QString &value, QString *failure) const
{
    QString reason;
    if (profile::writeProfileString(LangSection, key, value, settingsFile(), &reason))
        return true;
    if (failure) {
        *failure = QStringLiteral("The settings file \"%1\" cannot be written: %2")
                       .arg(QDir::toNativeSeparators(settingsFile()), reason);
    }
    return false;
}

QString ProgramFolder::language() const
{
    return setting(QStringLiteral("Default"));
}

QString ProgramFolder::languageText(const QString &language, const QString &key) const
{
    return profile::readProfileString(LangSection, key, languageFile(language));
}

} // namespace korvane
