#pragma once

#include "settings/filelocations.h"

#include <QString>

namespace korvane {

// The folder of the executable. Whether settings.ini and lang/ are in it or in the installation's and
// the user's folders is decided once, when it is made (FileLocations). Resolved once in main; tests use
// a temporary folder.
class ProgramFolder final {
public:
    explicit ProgramFolder(QString path);

    QString path() const { return m_path; }
    const FileLocations &locations() const { return m_locations; }
    QString settingsFile() const;
    QString languageFile(const QString &language) const;

    // Section "lang" of settings.ini. A write that fails returns false and, when asked, gives a
    // sentence for the user naming the file and the reason.
    QString setting(const QString &key) const;
    bool writeSetting(const QString &key, const QString &value, QString *failure = nullptr) const;

    // The stored language name ("Default"), read afresh on every call.
    QString language() const;
    // One text of a language file.
    QString languageText(const QString &language, const QString &key) const;

private:
    QString m_path;
    FileLocations m_locations;
};

} // namespace korvane
