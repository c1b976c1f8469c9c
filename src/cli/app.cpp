#include "cli/app.h"

#include "cli/interactive.h"
#include "cli/lineinput.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/serversession.h"
#include "cli/targets.h"
#include "settings/filelocations.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

namespace korvane::cli {

namespace {

// The commands of standard input: one a line, in order, without blank lines and # comments.
QStringList readCommands(std::FILE *input)
{
    QFile file;
    if (!file.open(input, QIODevice::ReadOnly))
        return {};
    QStringList commands;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        commands.append(QString::fromUtf8(line));
    }
    return commands;
}

// The prompt's own history, beside the console's.
QString promptHistoryFile()
{
    const settings::FileLocations files =
        settings::FileLocations::forExecutableFolder(QCoreApplication::applicationDirPath());
    files.createUserFolders(); // a folder that cannot be made is said when the history is written
    return QFileInfo(files.historyFile()).path() + QStringLiteral("/korvane-rcon-history.txt");
}

int runPrompt(const Target &target, const SessionSettings &settings)
{
    QEventLoop loop;
    InteractiveSession session(target, settings, promptHistoryFile());
    QObject::connect(&session, &InteractiveSession::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    session.start();
    loop.exec();
    return session.exitStatus();
}

} // namespace

int run(const QStringList &arguments)
{
    const CommandLine commandLine = parseCommandLine(arguments, onTerminal());
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        writeLines(stdout, QString(), helpText());
        return Answered;
    case CommandLine::Action::Version:
        writeLines(stdout, QString(), QStringLiteral("korvane-rcon %1").arg(QCoreApplication::applicationVersion()));
        return Answered;
    case CommandLine::Action::UsageError:
        writeError(QString(), commandLine.error + QStringLiteral(" (korvane-rcon --help tells more)"));
        return UsageError;
    case CommandLine::Action::Run:
        break;
    }
    const Options &options = commandLine.options;
    const Targets targets = resolveTargets(options);
    if (!targets.error.isEmpty()) {
        writeError(QString(), targets.error);
        return UsageError;
    }
    if (options.mode == Options::Mode::Prompt && targets.targets.size() != 1) {
        writeError(QString(), QStringLiteral("a prompt takes one server (korvane-rcon --help tells more)"));
        return UsageError;
    }
    const SessionSettings settings{options.paceMs, options.quietMs, options.timeoutMs,
                                   options.raw,    options.json,    targets.targets.size() > 1};
    if (options.mode == Options::Mode::Prompt)
        return runPrompt(targets.targets.constFirst(), settings);
    QStringList commands;
    if (options.mode == Options::Mode::Command)
        commands = {options.command};
    else if (options.mode == Options::Mode::StandardInput)
        commands = readCommands(stdin);
    if (options.mode == Options::Mode::StandardInput && commands.isEmpty())
        return Answered;

    QEventLoop loop;
    std::vector<std::unique_ptr<ServerSession>> sessions;
    qsizetype running = targets.targets.size();
    for (const Target &target : targets.targets) {
        sessions.push_back(std::make_unique<ServerSession>(target, commands, settings));
        QObject::connect(sessions.back().get(), &ServerSession::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
    }
    for (const auto &session : sessions)
        session->start();
    if (running > 0)
        loop.exec();
    int status = Answered;
    for (const auto &session : sessions)
        status = std::max(status, static_cast<int>(session->exitStatus()));
    return status;
}

} // namespace korvane::cli
