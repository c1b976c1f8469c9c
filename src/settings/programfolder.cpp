#include "settings/programfolder.h"

#include "settings/profile.h"

#include <QDir>

namespace korvane::settings {

namespace {

// Both settings.ini and the language files keep their entries in this section.
const QString Section = QStringLiteral("lang");
const QString LanguageKey = QStringLiteral("Default");
const QString RememberedKey = QStringLiteral("Checked");
const QString True = QStringLiteral("True");
const QString False = QStringLiteral("False");

} // namespace

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

QString ProgramFolder::language() const
{
    return readProfileString(Section, LanguageKey, settingsFile());
}

void ProgramFolder::setLanguage(const QString &language) const
{
    writeProfileString(Section, LanguageKey, language, settingsFile());
}

bool ProgramFolder::isRemembered() const
{
    // Exactly "True": any other text, "true" included, shows the chooser.
    return readProfileString(Section, RememberedKey, settingsFile()) == True;
}

void ProgramFolder::setRemembered(bool remembered) const
{
    writeProfileString(Section, RememberedKey, remembered ? True : False, settingsFile());
}

QString ProgramFolder::languageText(const QString &language, const QString &key) const
{
    return readProfileString(Section, key, languageFile(language));
}

} // namespace korvane::settings
