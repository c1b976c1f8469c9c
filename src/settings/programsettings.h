#pragma once

#include "settings/filelocations.h"
#include "settings/profile.h"

#include <QHash>
#include <QString>

namespace korvane::settings {

// The texts of one language, its file read once for all the keys a window needs.
class LanguageTexts final {
public:
    explicit LanguageTexts(ProfileSnapshot file)
        : m_file(std::move(file))
    {
    }
    QString text(const QString &key) const;

private:
    ProfileSnapshot m_file;
};

// The two settings the program keeps (section "lang" of settings.ini): the language of the windows
// and whether the chooser is skipped; and the texts of that language. Where settings.ini and the
// language files are is decided once, when it is made (FileLocations). Settings are read afresh on
// every call: another run of the program may have changed them. Made once in main; tests use a
// temporary folder.
class ProgramSettings final {
public:
    // The executable's folder decides where the files are.
    explicit ProgramSettings(const QString &executableFolder);

    const FileLocations &locations() const { return m_locations; }
    QString settingsFile() const;
    QString languageFile(const QString &language) const;

    // The stored language name: "english", "french", "german" or "dutch", or empty.
    QString language() const;
    // Whether the chooser is skipped at start-up.
    bool isRemembered() const;
    // Each stores its setting. When settings.ini cannot be written the setting still holds for the
    // rest of this run, and the answer is a sentence for the user naming the file and the reason;
    // empty when it was stored, and when the write before failed the same way: the user hears of one
    // unwritable file once, not once per setting.
    QString setLanguage(const QString &language);
    QString setRemembered(bool remembered);

    // The texts of the stored language.
    LanguageTexts languageTexts() const;

private:
    QString setting(const QString &key) const;
    QString write(const QString &key, const QString &value);

    FileLocations m_locations;
    // What this run could not store, by key.
    QHash<QString, QString> m_unsaved;
    // The failure last told to the user; cleared by a write that succeeds.
    QString m_said;
};

} // namespace korvane::settings
