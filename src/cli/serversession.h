#pragma once

#include "cli/options.h"
#include "cli/targets.h"
#include "rcon/endpoint.h"
#include "rcon/resolver.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace korvane::cli {

// How a session sends and waits: the options every server of a run shares.
struct SessionSettings {
    int paceMs = DefaultPaceMs;
    int quietMs = DefaultQuietMs;
    int timeoutMs = DefaultTimeoutMs;
    bool raw = false;
    bool json = false;
    bool prefixLines = false; // several servers: every output line starts with the server's name
};

// The exit statuses, in rising order of weight: a run ends with the highest of its servers'.
enum ExitStatus { Answered = 0, NoAnswer = 1, UsageError = 2, PasswordRefused = 3, NetworkError = 4 };

// Opens the endpoint toward the target's port at the address its name resolved to; empty when it is
// open, else why not (the address is null when the name did not resolve).
QString openTowards(rcon::Endpoint &endpoint, const Target &target, const QHostAddress &address);

// One server's share of a run: sends its commands one after the other (or the status probe) on its
// own endpoint, gathers each answer until the server has been quiet for a while or the time for the
// command is up, prints it, and stops at the first command that was refused or not answered.
class ServerSession final : public QObject {
    Q_OBJECT

public:
    // An empty list of commands asks for the status.
    ServerSession(Target target, QStringList commands, const SessionSettings &settings, QObject *parent = nullptr);

    // Looks the host up (without blocking, as the console does), then sends.
    void start();
    ExitStatus exitStatus() const { return m_exitStatus; }

Q_SIGNALS:
    void finished();

private:
    void open(const QHostAddress &address);
    void sendNext();
    void receive(const QByteArray &datagram);
    void endAnswer();
    void finish(ExitStatus status, const QString &error = {});
    QString linePrefix() const;

    Target m_target;
    QStringList m_commands;
    SessionSettings m_settings;
    rcon::Resolver m_resolver;
    rcon::Endpoint m_endpoint;
    qsizetype m_next = 0; // index of the next command to send
    QList<QByteArray> m_answer;
    QTimer m_quietTimer;
    QTimer m_totalTimer;
    QTimer m_paceTimer;
    QElapsedTimer m_sinceSend;
    ExitStatus m_exitStatus = Answered;
    bool m_finished = false;
};

} // namespace korvane::cli
