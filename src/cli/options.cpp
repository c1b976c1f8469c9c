#include "cli/options.h"

#include <QCommandLineParser>

namespace korvane::cli {

namespace {

// Longer than any wait anyone means, short enough for a timer's int.
constexpr int MaxMilliseconds = 24 * 60 * 60 * 1000;

bool readMilliseconds(const QCommandLineParser &parser, const QString &name, int minimum, int &value, QString &error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < minimum || number > MaxMilliseconds) {
        error = QStringLiteral("--%1 takes a whole number of milliseconds from %2 to %3, not \"%4\"")
                    .arg(name, QString::number(minimum), QString::number(MaxMilliseconds), parser.value(name));
        return false;
    }
    value = number;
    return true;
}

CommandLine usageError(const QString &error)
{
    CommandLine result;
    result.action = CommandLine::Action::UsageError;
    result.error = error;
    return result;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, bool onTerminal)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const auto valued = [](const QStringList &names) {
        return QCommandLineOption(names, QString(), QStringLiteral("v"));
    };
    parser.addOptions({
        valued({QStringLiteral("s"), QStringLiteral("server")}),
        valued({QStringLiteral("f"), QStringLiteral("favorite")}),
        QCommandLineOption(QStringLiteral("all-favorites")),
        valued({QStringLiteral("store")}),
        valued({QStringLiteral("password-file")}),
        valued({QStringLiteral("password")}),
        valued({QStringLiteral("pace")}),
        valued({QStringLiteral("quiet")}),
        valued({QStringLiteral("timeout")}),
        QCommandLineOption(QStringLiteral("raw")),
        QCommandLineOption(QStringLiteral("status")),
        QCommandLineOption(QStringLiteral("json")),
        QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
        QCommandLineOption(QStringLiteral("version")),
    });
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    CommandLine result;
    if (parser.isSet(QStringLiteral("help"))) {
        result.action = CommandLine::Action::Help;
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        result.action = CommandLine::Action::Version;
        return result;
    }

    Options &options = result.options;
    options.servers = parser.values(QStringLiteral("server"));
    options.favorites = parser.values(QStringLiteral("favorite"));
    options.allFavorites = parser.isSet(QStringLiteral("all-favorites"));
    options.storeFile = parser.value(QStringLiteral("store"));
    options.passwordFile = parser.value(QStringLiteral("password-file"));
    options.passwordGiven = parser.isSet(QStringLiteral("password"));
    options.password = parser.value(QStringLiteral("password"));
    options.raw = parser.isSet(QStringLiteral("raw"));
    options.json = parser.isSet(QStringLiteral("json"));
    QString error;
    if (!readMilliseconds(parser, QStringLiteral("pace"), 0, options.paceMs, error) ||
        !readMilliseconds(parser, QStringLiteral("quiet"), 0, options.quietMs, error) ||
        !readMilliseconds(parser, QStringLiteral("timeout"), 1, options.timeoutMs, error))
        return usageError(error);

    const QStringList words = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("status"))) {
        if (!words.isEmpty())
            return usageError(QStringLiteral("--status takes no command"));
        options.mode = Options::Mode::Status;
    } else if (words == QStringList{QStringLiteral("-")}) {
        options.mode = Options::Mode::StandardInput;
    } else if (words.isEmpty() && !onTerminal) {
        return usageError(QStringLiteral("no command given (a command, \"-\" or --status)"));
    } else if (words.isEmpty()) {
        options.mode = Options::Mode::Prompt;
    } else {
        options.command = words.join(u' ');
    }
    if (options.json && options.mode != Options::Mode::Status)
        return usageError(QStringLiteral("--json goes with --status"));
    if (options.servers.isEmpty() && options.favorites.isEmpty() && !options.allFavorites)
        return usageError(QStringLiteral("no server given (-s HOST[:PORT], -f NAME or --all-favorites)"));
    if (!options.passwordFile.isEmpty() && options.passwordGiven)
        return usageError(QStringLiteral("--password-file and --password are two answers to one question"));
    return result;
}

QString helpText()
{
    const QString text = QStringLiteral(
        R"(Usage: korvane-rcon [options] COMMAND...   send one command (its words joined by single blanks)
       korvane-rcon [options] -            send one command per line of standard input
       korvane-rcon [options] --status     show a server's settings and players
       korvane-rcon [options]              on a terminal, with one server: a prompt (see below)

Sends remote-console commands to Wolfenstein: Enemy Territory and other Quake III-engine servers in
the same datagrams as the Korvane console, and prints the answers cleaned of colour codes as the
console cleans them, in UTF-8. Options come before the command.

Servers:
  -s, --server HOST[:PORT]  a server by name or address; the port is %1 unless given; an IPv6
                            address goes in brackets: [2001:db8::7]:27960
  -f, --favorite NAME       a server from the favourites store, with its stored password
      --all-favorites       every server in the favourites store
      --store FILE          the favourites store (default: the console's: Korvane.mdb in the
                            current folder for a portable build, ~/.local/share/korvane/Korvane.mdb
                            when installed)
  -s and -f may repeat: the same commands then go to every server at once, and every line printed
  starts with the server's name (HOST[:PORT] as given, or the favourite's name) and ": ".

Password (the first of these that is given):
      --password-file FILE  the first line of FILE
      --password PASSWORD   the password itself; careful: other users of this machine can read a
                            command line (ps, /proc), so prefer the file or the variable
  the favourite's stored password, then the environment variable %5.
  --status needs no password.

Sending and answers:
  -                         read the commands from standard input, one per line, sent in order;
                            blank lines and lines starting with # are skipped
      --pace MS             wait at least MS milliseconds from one command to the next (default
                            %2: an ET 2.60b server ignores an rcon command that comes less than
                            half a second after the last one it accepted; 0 for other servers)
      --quiet MS            an answer is complete when no datagram has come for MS milliseconds
                            (default %3)
      --timeout MS          wait at most MS milliseconds for each command's answer (default %4)
      --raw                 print what the server sent after its print header, uncleaned
      --status              ask for the server's status: its settings and its players (score,
                            ping, name without colour codes)
      --json                with --status: one JSON object per server on one line, with
                            "server" (its name), "settings" (strings), "players" (score, ping,
                            name, rawName) and "etServer" (whether the console takes it for one)
  -h, --help                show this help
      --version             show the version

Prompt:
  Each line is sent as one command and its answer printed as it comes. Tab completes the server's
  command and variable names, asked from it (cmdlist, cvarlist) on opening and by ":refresh". Up and
  Down recall earlier lines, kept in korvane-rcon-history.txt beside the console's history. ":quit",
  Ctrl-D, or Ctrl-C on an empty line leave; the exit status is that of the last command.

Exit status:
  0  every command was answered
  1  a server did not answer in time
  2  a usage error (also a favourite that is not in the store)
  3  a server refused the password
  4  a host name did not resolve, or a network error
  With several servers, the highest of these. Errors go to standard error, one line each.

Examples:
  A broadcast from cron, five minutes before the nightly restart (crontab line):
    55 3 * * *  korvane-rcon --password-file ~/.et-rcon -s et.example.org say "^1Restart in 5 minutes"

  A restart with a warning, on every favourite server:
    korvane-rcon --all-favorites --pace 600 - <<'EOF'
    say ^3The map restarts in 10 seconds
    map_restart 10
    EOF

  A status check in JSON for a monitoring job:
    korvane-rcon -s 203.0.113.7:27960 --status --json | jq '.players | length'
)");
    return text.arg(QString::number(DefaultPort), QString::number(DefaultPaceMs), QString::number(DefaultQuietMs),
                    QString::number(DefaultTimeoutMs), QLatin1StringView(PasswordVariable));
}

} // namespace korvane::cli
