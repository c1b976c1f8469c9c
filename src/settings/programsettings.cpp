#include "settings/programsettings.h"

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

ProgramSettings::ProgramSettings(const QString &executableFolder)
    : m_locations(FileLocations::forExecutableFolder(QDir::cleanPath(executableFolder)))
{
}

QString ProgramSettings::settingsFile() const
{
    return m_locations.settingsFile();
}

QString ProgramSettings::languageFile(const QString &language) const
{
    // The stored name is used verbatim: an empty one names "lang/.lang", which does not exist.
    return m_locations.languageFolder() + QStringLiteral("/") + language + QStringLiteral(".lang");
}

QString ProgramSettings::language() const
{
    return setting(LanguageKey);
}

bool ProgramSettings::isRemembered() const
{
    // Exactly "True": any other text, "true" included, shows the chooser.
    return setting(RememberedKey) == True;
}

QString ProgramSettings::store(const QString &language, std::optional<bool> remembered)
{
    // Both are tried: a setting that could not be written still holds for this run. A second failure
    // of the same file is no news.
    const QString failure = write(LanguageKey, language);
    const QString second = remembered ? write(RememberedKey, *remembered ? True : False) : QString();
    return failure.isEmpty() ? second : failure;
}

LanguageTexts ProgramSettings::languageTexts() const
{
    return LanguageTexts(ProfileSnapshot::ofFile(languageFile(language())));
}

QString LanguageTexts::text(const QString &key) const
{
    return m_file.value(Section, key);
}

QString ProgramSettings::setting(const QString &key) const
{
    const auto unsaved = m_unsaved.constFind(key);
    return unsaved != m_unsaved.cend() ? *unsaved : readProfileString(Section, key, settingsFile());
}

QString ProgramSettings::write(const QString &key, const QString &value)
{
    QString reason;
    if (writeProfileString(Section, key, value, settingsFile(), &reason)) {
        m_unsaved.remove(key);
        m_said.clear();
        return {};
    }
    m_unsaved.insert(key, value);
    const QString failure = QStringLiteral("The settings file \"%1\" cannot be written: %2")
                                .arg(QDir::toNativeSeparators(settingsFile()), reason);
    // "Load Language" with "Remember Settings" ticked writes twice in a row; the second failure is no news.
    if (failure == m_said)
        return {};
    m_said = failure;
    return failure;
}

} // namespace korvane::settings
