#pragma once

#include "cli/lineinput.h"
#include "cli/serversession.h"
#include "cli/targets.h"
#include "rcon/endpoint.h"
#include "rcon/requestspacing.h"
#include "rcon/resolver.h"
#include "settings/commandhistory.h"

#include <QObject>
#include <QTimer>

namespace korvane::cli {

// The names a server's cmdlist and cvarlist answers list, sorted, each once.
QStringList namesListed(QStringView answers);

// korvane-rcon with no command, on a terminal: a prompt naming the server. On opening it asks the
// server for its command and variable lists, and Tab completes from those names (":refresh" asks
// again). Each line typed is one command; its answer is printed as it arrives, and the prompt comes
// back once the server has been quiet. ":quit", the end of input or Ctrl-C on an empty line leave; the
// exit status is that of the last command.
class InteractiveSession final : public QObject {
    Q_OBJECT

public:
    InteractiveSession(Target target, const SessionSettings &settings, const QString &historyFile,
                       QObject *parent = nullptr);

    void start();
    ExitStatus exitStatus() const { return m_exitStatus; }

Q_SIGNALS:
    void finished();

private:
    enum class Awaiting { Nothing, Commands, Variables, Answer };

    void open(const QHostAddress &address);
    void learnNames(Awaiting list);
    void runLine(const QString &line);
    void receive(const QByteArray &datagram);
    void endWait();
    void await(Awaiting what);
    void finish(ExitStatus status, const QString &error = {});

    Target m_target;
    SessionSettings m_settings;
    settings::CommandHistory m_history;
    bool m_historyFailureSaid = false;
    rcon::Resolver m_resolver;
    rcon::RequestSpacing m_spacing;
    rcon::Endpoint m_endpoint;
    LineInput m_input;
    QTimer m_quietTimer;
    QTimer m_totalTimer;
    Awaiting m_awaiting = Awaiting::Nothing;
    QString m_command;
    QList<QByteArray> m_received;
    QString m_listed; // the lists' answers so far
    ExitStatus m_exitStatus = Answered;
    bool m_finished = false;
};

} // namespace korvane::cli
