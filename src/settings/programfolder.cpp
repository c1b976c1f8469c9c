#include "settings/programfolder.h"

#include "settings/profile.h"

#include <QDir>

namespace korvane {

namespace {
const QString LangSection = QStringLiteral("lang");
}

ProgramFolder::ProgramFolder(QString path)
    : m_path(QDir::cleanPath(std::move(path)))
{
}

QString ProgramFolder::settingsFile() const
{
    return m_path + QStringLiteral("/settings.ini");
}

QString ProgramFolder::languageFile(const QString &language) const
{
    // The stored name is used verbatim: an empty one names "lang/.lang", which does not exist.
    return m_path + QStringLiteral("/lang/") + language + QStringLiteral(".lang");
}

QString ProgramFolder::setting(const QString &key) const
{
    return profile::readProfileString(LangSection, key, settingsFile());
}

void ProgramFolder::writeSetting(const QString &key, const QString &value) const
{
    profile::writeProfileString(LangSection, key, value, settingsFile());
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
