#include "cli/serversession.h"

#include "cli/output.h"
#include "rcon/statusreply.h"
#include "rcon/wireformat.h"

#include <QHostAddress>

namespace korvane::cli {

ServerSession::ServerSession(Target target, QStringList commands, const SessionSettings &settings, QObject *parent)
    : QObject(parent)
    , m_target(std::move(target))
    , m_commands(std::move(commands))
    , m_settings(settings)
    , m_endpoint(QStringLiteral("korvane-rcon"))
{
    for (QTimer *timer : {&m_quietTimer, &m_totalTimer, &m_paceTimer}) {
        timer->setSingleShot(true);
        // A coarse timer may fire a little early; the pace and the time-outs are promises.
        timer->setTimerType(Qt::PreciseTimer);
    }
    m_quietTimer.setInterval(m_settings.quietMs);
    m_totalTimer.setInterval(m_settings.timeoutMs);
    connect(&m_quietTimer, &QTimer::timeout, this, &ServerSession::endAnswer);
    connect(&m_totalTimer, &QTimer::timeout, this, &ServerSession::endAnswer);
    connect(&m_paceTimer, &QTimer::timeout, this, &ServerSession::sendNext);
    connect(&m_endpoint, &rcon::Endpoint::datagramReceived, this, &ServerSession::receive);
}

void ServerSession::start()
{
    m_resolver.resolve(m_target.host, this, [this](const QHostAddress &address) { open(address); });
}

QString openTowards(rcon::Endpoint &endpoint, const Target &target, const QHostAddress &address)
{
    if (address.isNull())
        return QStringLiteral("the host name %1 does not resolve").arg(target.host);
    endpoint.open(address, target.port);
    if (endpoint.state() != rcon::Endpoint::Open)
        return QStringLiteral("cannot open a UDP socket to %1").arg(address.toString());
    return {};
}

void ServerSession::open(const QHostAddress &address)
{
    if (const QString failure = openTowards(m_endpoint, m_target, address); !failure.isEmpty()) {
        finish(NetworkError, failure);
        return;
    }
    sendNext();
}

void ServerSession::sendNext()
{
    if (m_finished)
        return;
    if (m_commands.isEmpty()) {
        m_endpoint.send(rcon::statusProbe());
    } else {
        if (m_next >= m_commands.size()) {
            finish(Answered);
            return;
        }
        // The pace runs from one request to the next, whatever the answer took.
        const qint64 wait = m_sinceSend.isValid() ? m_settings.paceMs - m_sinceSend.elapsed() : 0;
        if (wait > 0) {
            m_paceTimer.start(static_cast<int>(wait));
            return;
        }
        m_endpoint.send(rcon::request(m_target.password, u" ", m_commands.at(m_next)));
    }
    m_sinceSend.start();
    m_answer.clear();
    m_quietTimer.stop();
    m_totalTimer.start();
}

void ServerSession::receive(const QByteArray &datagram)
{
    if (m_finished || !m_totalTimer.isActive())
        return;
    if (m_commands.isEmpty()) {
        // The status reply is one datagram: no need to wait for more.
        const std::optional<rcon::StatusReply> status = rcon::parseStatusReply(datagram);
        if (!status)
            return;
        if (m_settings.json)
            writeLines(stdout, QString(), QString::fromUtf8(statusJson(*status, m_target.name)));
        else
            writeLines(stdout, linePrefix(), statusTable(*status));
        finish(Answered);
        return;
    }
    if (rcon::refusesPassword(datagram)) {
        finish(PasswordRefused, refusal(datagram));
        return;
    }
    m_answer.append(datagram);
    m_quietTimer.start();
}

void ServerSession::endAnswer()
{
    m_quietTimer.stop();
    m_totalTimer.stop();
    if (m_commands.isEmpty()) {
        finish(NoAnswer, QStringLiteral("no status reply within %1 ms").arg(m_settings.timeoutMs));
        return;
    }
    if (m_answer.isEmpty()) {
        const qsizetype unsent = m_commands.size() - m_next - 1;
        finish(NoAnswer, QStringLiteral("no answer to \"%1\" within %2 ms%3")
                             .arg(m_commands.at(m_next), QString::number(m_settings.timeoutMs),
                                  unsent > 0 ? QStringLiteral("; the %1 after it not sent").arg(unsent) : QString()));
        return;
    }
    writeLines(stdout, linePrefix(), answerText(m_answer, m_settings.raw));
    ++m_next;
    sendNext();
}

void ServerSession::finish(ExitStatus status, const QString &error)
{
    if (m_finished)
        return;
    m_finished = true;
    m_exitStatus = status;
    m_quietTimer.stop();
    m_totalTimer.stop();
    m_paceTimer.stop();
    m_endpoint.close();
    if (!error.isEmpty())
        writeError(m_target.name, error);
    Q_EMIT finished();
}

QString ServerSession::linePrefix() const
{
    return m_settings.prefixLines ? m_target.name + QStringLiteral(": ") : QString();
}

} // namespace korvane::cli
