#pragma once

#include "rcon/requestspacing.h"

#include <QString>
#include <QStringList>

namespace korvane::cli {

// What a run does unless its command line says otherwise; the help text quotes these.
inline constexpr quint16 DefaultPort = 27960; // the port a server of this family listens on by default
inline constexpr int DefaultPaceMs = rcon::RequestSpacingMs;
inline constexpr int DefaultQuietMs = 300;
inline constexpr int DefaultTimeoutMs = 3000;
// The environment variable that holds the password when neither the command line nor a favourite does.
inline constexpr char PasswordVariable[] = "KORVANE_RCON_PASSWORD";

// What one run of korvane-rcon is asked to do, as read from its command line.
struct Options {
    enum class Mode { Command, StandardInput, Status, Prompt }; // Prompt: no command given

    Mode mode = Mode::Command;
    QString command; // Mode::Command: the words joined by single blanks
    QStringList servers;
    QStringList favorites;
    bool allFavorites = false;
    QString storeFile; // empty: the default store
    QString passwordFile;
    QString password;
    bool passwordGiven = false;
    int paceMs = DefaultPaceMs;
    int quietMs = DefaultQuietMs;
    int timeoutMs = DefaultTimeoutMs;
    bool raw = false;
    bool json = false;
};

struct CommandLine {
    enum class Action { Run, Help, Version, UsageError };

    Action action = Action::Run;
    Options options;
    QString error; // Action::UsageError: one line
};

// Options come before the command: the first word that is not an option starts it, so a command's own
// words may begin with a dash. A lone "-" reads the commands from standard input. No command at all
// opens a prompt, but only on a terminal.
CommandLine parseCommandLine(const QStringList &arguments, bool onTerminal);

QString helpText();

} // namespace korvane::cli
