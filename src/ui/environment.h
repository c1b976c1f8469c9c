#pragma once

#include "rcon/requestspacing.h"
#include "settings/programsettings.h"

#include <QString>

#include <functional>

class QWidget;

namespace korvane::ui {

// What the windows need from outside: the settings and language texts, the favourites file, and the three things
// that block or ask the user. Tests replace the seams to answer message boxes and the save dialog,
// or to shorten the waits.
struct Environment {
    explicit Environment(const QString &programFolder, QString favoritesFile = QStringLiteral("Korvane.mdb"));

    settings::ProgramSettings settings;
    QString favoritesFile;

    // A wait of the user-interface thread that keeps the windows painted: timers and datagrams are
    // handled meanwhile, clicks and keys only after it.
    std::function<void(int milliseconds)> wait;
    // A message box with an OK button only, titled "Korvane".
    std::function<void(QWidget *parent, const QString &text)> message;
    // The cheaters list's save dialog; the chosen name, or an empty text when cancelled.
    std::function<QString(QWidget *parent)> saveFileName;

    // How often the player lists refresh themselves.
    int playerListRefreshMs = 7000;
    // The least time between two rcon requests to the server; tests that click in quick succession make
    // it 0.
    int requestSpacingMs = rcon::RequestSpacingMs;
};

} // namespace korvane::ui
