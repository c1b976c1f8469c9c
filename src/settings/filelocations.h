#pragma once

#include <QString>

namespace korvane::settings {

// Where the program keeps its files, decided from the executable's folder alone by a rule a user can
// predict:
// - Portable: a folder lang/ sits beside the executable (the build tree, an unpacked folder).
//   settings.ini and lang/ are in that folder; Korvane.mdb is in the working folder.
// - Installed: anything else. The language files come from share/korvane/lang of the installation
//   prefix, found relative to the executable (bin/../share/korvane/lang); settings.ini is in the user's
//   configuration folder for the program (~/.config/korvane) and Korvane.mdb in the user's data folder
//   for it (~/.local/share/korvane). On Windows both are in the user's roaming application data
//   (%APPDATA%\korvane).
// The console's command history is kept beside settings.ini in portable mode, beside the favourites
// store in installed mode (it is the user's data, not a setting).
// Whether the executable's folder is writable plays no part: run as root, /usr/bin is writable, and the
// program must still not write there.
class FileLocations final {
public:
    enum class Mode { Portable, Installed };

    // In installed mode the user's folders come from QStandardPaths: name the application first.
    static FileLocations forExecutableFolder(const QString &folder);

    Mode mode() const { return m_mode; }
    QString languageFolder() const { return m_languageFolder; }
    QString settingsFile() const { return m_settingsFile; }
    // Relative in portable mode, so that it is looked for in the working folder.
    QString favoritesStoreFile() const { return m_favoritesStoreFile; }
    QString historyFile() const { return m_historyFile; }

    // Installed mode: creates the folders of the settings file and of the store where missing, each
    // missing level readable by its owner only. Returns an empty text, or a sentence for the user
    // naming the folder that could not be made and why. Portable mode creates nothing.
    QString createUserFolders() const;

private:
    Mode m_mode = Mode::Portable;
    QString m_languageFolder;
    QString m_settingsFile;
    QString m_favoritesStoreFile;
    QString m_historyFile;
};

// The program's name and version for QCoreApplication. With the name "korvane" and no organisation,
// the user's folders are ~/.config/korvane and ~/.local/share/korvane (or below XDG_CONFIG_HOME and
// XDG_DATA_HOME). Call it before deciding the file locations.
void nameApplication();

} // namespace korvane::settings
