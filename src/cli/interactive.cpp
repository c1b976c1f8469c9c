#include "cli/interactive.h"

#include "cli/output.h"
#include "rcon/wireformat.h"

#include <QHostAddress>
#include <QRegularExpression>

#include <algorithm>

namespace korvane::cli {

namespace {

// A cvarlist line: a column of flag letters, the name, the value in quotes. A cmdlist line: the name
// alone. The counts that close each list are neither.
const QRegularExpression VariableLine(QStringLiteral(R"(^[A-Z? ]{7,10} (\S+) ")"));
const QRegularExpression CommandNameLine(QStringLiteral(R"(^([A-Za-z_+\-][\w+\-.]*)$)"));
// Each list ends with its count: the answers are whole once both have come.
const QRegularExpression CommandsCounted(QStringLiteral(R"(^\d+ commands$)"), QRegularExpression::MultilineOption);
const QRegularExpression VariablesCounted(QStringLiteral(R"(^\d+ total cvars$)"), QRegularExpression::MultilineOption);

} // namespace

QStringList namesListed(QStringView answers)
{
    QStringList names;
    for (const QStringView line : answers.split(u'\n')) {
        if (const QRegularExpressionMatch variable = VariableLine.match(line); variable.hasMatch())
            names.append(variable.captured(1));
        else if (const QRegularExpressionMatch command = CommandNameLine.match(line); command.hasMatch())
            names.append(command.captured(1));
    }
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    return names;
}

InteractiveSession::InteractiveSession(Target target, const SessionSettings &settings, const QString &historyFile,
                                       QObject *parent)
    : QObject(parent)
    , m_target(std::move(target))
    , m_settings(settings)
    , m_history(historyFile)
    , m_endpoint(QStringLiteral("korvane-rcon"))
{
    m_spacing.setSpacing(m_settings.paceMs);
    m_endpoint.setSpacing(&m_spacing);
    for (QTimer *timer : {&m_quietTimer, &m_totalTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, &InteractiveSession::endWait);
    }
    m_quietTimer.setInterval(m_settings.quietMs);
    connect(&m_endpoint, &rcon::Endpoint::datagramReceived, this, &InteractiveSession::receive);
    connect(&m_input, &LineInput::lineEntered, this, &InteractiveSession::runLine);
    connect(&m_input, &LineInput::ended, this, [this] { finish(m_exitStatus); });
}

void InteractiveSession::start()
{
    if (const QString failure = m_history.load(); !failure.isEmpty()) {
        writeError(QString(), failure);
        m_historyFailureSaid = true;
    }
    m_input.setHistory(m_history.lines());
    m_resolver.resolve(m_target.host, this, [this](const QHostAddress &address) { open(address); });
}

void InteractiveSession::open(const QHostAddress &address)
{
    if (const QString failure = openTowards(m_endpoint, m_target, address); !failure.isEmpty()) {
        finish(NetworkError, failure);
        return;
    }
    learnNames(Awaiting::Commands);
}

// One list after the other, each gathered whole (until its closing count, or the time for a command
// is up); the spacing keeps the second from following the first too soon.
void InteractiveSession::learnNames(Awaiting list)
{
    m_endpoint.sendRequest(
        rcon::request(m_target.password, u" ", list == Awaiting::Commands ? u"cmdlist" : u"cvarlist"));
    await(list);
}

void InteractiveSession::runLine(const QString &line)
{
    const QString command = line.trimmed();
    if (command == u":quit") {
        finish(m_exitStatus);
    } else if (command == u":refresh") {
        learnNames(Awaiting::Commands);
    } else if (command.isEmpty()) {
        m_input.prompt(m_target.name + QStringLiteral("> "));
    } else {
        if (const QString failure = m_history.add(line); !failure.isEmpty() && !m_historyFailureSaid) {
            writeError(QString(), failure);
            m_historyFailureSaid = true;
        }
        m_command = line;
        m_endpoint.sendRequest(rcon::request(m_target.password, u" ", line));
        await(Awaiting::Answer);
    }
}

void InteractiveSession::await(Awaiting what)
{
    m_awaiting = what;
    m_received.clear();
    // A list's request may wait its turn behind the one before.
    m_totalTimer.start(m_settings.timeoutMs + (what == Awaiting::Answer ? 0 : m_settings.paceMs));
    m_quietTimer.stop();
}

void InteractiveSession::receive(const QByteArray &datagram)
{
    if (m_awaiting == Awaiting::Nothing)
        return;
    m_received.append(datagram);
    if (m_awaiting != Awaiting::Answer) {
        if (rcon::refusesPassword(datagram)) {
            finish(PasswordRefused, refusal(datagram));
            return;
        }
        // A list is whole at its count, or, from a server that gives none, once it has been quiet.
        const QString answer = answerText(m_received, false);
        if (answer.contains(m_awaiting == Awaiting::Commands ? CommandsCounted : VariablesCounted))
            endWait();
        else
            m_quietTimer.start();
        return;
    }
    // Printed as it comes; a line split over two datagrams is joined by the terminal itself.
    const QByteArray text = answerText({datagram}, m_settings.raw).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    std::fflush(stdout);
    m_quietTimer.start();
}

void InteractiveSession::endWait()
{
    m_quietTimer.stop();
    m_totalTimer.stop();
    const Awaiting ended = std::exchange(m_awaiting, Awaiting::Nothing);
    if (ended == Awaiting::Commands) {
        m_listed = answerText(m_received, false);
        learnNames(Awaiting::Variables);
        return;
    }
    if (ended == Awaiting::Variables) {
        const QStringList names = namesListed(QString(m_listed + u'\n' + answerText(m_received, false)));
        m_input.setCompletions(names);
        writeLines(stdout, QString(),
                   QStringLiteral("%1 command and variable names learned from %2")
                       .arg(QString::number(names.size()), m_target.name));
    } else if (m_received.isEmpty()) {
        m_exitStatus = NoAnswer;
        writeError(
            m_target.name,
            QStringLiteral("no answer to \"%1\" within %2 ms").arg(m_command, QString::number(m_settings.timeoutMs)));
    } else {
        m_exitStatus = std::ranges::any_of(m_received, rcon::refusesPassword) ? PasswordRefused : Answered;
        if (!answerText(m_received, m_settings.raw).endsWith(u'\n'))
            std::fputs("\n", stdout);
    }
    m_input.prompt(m_target.name + QStringLiteral("> "));
}

void InteractiveSession::finish(ExitStatus status, const QString &error)
{
    if (std::exchange(m_finished, true))
        return;
    m_exitStatus = status;
    m_quietTimer.stop();
    m_totalTimer.stop();
    m_endpoint.close();
    if (!error.isEmpty())
        writeError(m_target.name, error);
    Q_EMIT finished();
}

} // namespace korvane::cli
