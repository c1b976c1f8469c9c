#pragma once

#include <QString>

namespace korvane::settings {

// The folder of the executable, where settings.ini and lang/ live, and the two settings the program
// keeps there (section "lang"): the language of the windows and whether the chooser is skipped. Read
// afresh on every call: another run of the program may have changed them. Resolved once in main;
// tests use a temporary folder.
class ProgramFolder final {
public:
    explicit ProgramFolder(QString path);

    QString path() const { return m_path; }
    QString settingsFile() const;
    QString languageFile(const QString &language) const;

    // The stored language name: "english", "french", "german" or "dutch", or empty.
    QString language() const;
    void setLanguage(const QString &language) const;
    // Whether the chooser is skipped at start-up.
    bool isRemembered() const;
    void setRemembered(bool remembered) const;

    // One text of a language file.
    QString languageText(const QString &language, const QString &key) const;

private:
    QString m_path;
};

} // namespace korvane::settings
