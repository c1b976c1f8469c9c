#pragma once

#include "settings/filelocations.h"
#include "settings/profile.h"

#include <QHash>
#include <QString>

#include <optional>

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
    // Stores the language and, when given, whether the chooser is skipped. When settings.ini cannot be
    // written the settings still hold for the rest of this run, and the answer is a sentence for the
    // user naming the file and the reason; empty when they were stored, and when the store before
    // failed the same way: the user hears of one unwritable file once, not once per setting.
    QString store(const QString &language, std::optional<bool> remembered = std::nullopt);

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
