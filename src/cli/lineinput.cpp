#include "cli/lineinput.h"

#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#ifdef KORVANE_HAVE_READLINE
#include <readline/history.h>
#include <readline/readline.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korvane::cli {

namespace {

// Readline calls back through plain functions: the one input of the process.
LineInput *active = nullptr;
QStringList completions;

#ifndef Q_OS_WIN
int interruptPipe[2] = {-1, -1};

void onInterrupt(int)
{
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(interruptPipe[1], &byte, 1);
}
#endif

// Ctrl-C becomes a byte on a pipe that the event loop watches; -1 on Windows, which has no such signal:
// there Ctrl-C keeps the console's own meaning and ends the program, as it does here on an empty line.
int watchInterrupts()
{
#ifndef Q_OS_WIN
    if (interruptPipe[0] < 0 && ::pipe(interruptPipe) != 0)
        return -1;
    ::fcntl(interruptPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    return interruptPipe[0];
#else
    return -1;
#endif
}

#ifdef KORVANE_HAVE_READLINE
char *completionMatch(const char *text, int state)
{
    static qsizetype next = 0;
    if (state == 0)
        next = 0;
    const QString start = QString::fromUtf8(text);
    while (next < completions.size()) {
        const QString &name = completions.at(next++);
        if (name.startsWith(start, Qt::CaseInsensitive))
            return ::strdup(name.toUtf8().constData());
    }
    return nullptr;
}

char **complete(const char *text, int, int)
{
    rl_attempted_completion_over = 1; // the server's names, never file names
    return rl_completion_matches(text, completionMatch);
}

void onLine(char *line)
{
    rl_callback_handler_remove();
    if (line && *line)
        add_history(line);
    if (!line)
        std::fputs("\n", stdout); // Ctrl-D: what follows starts on a line of its own
    if (active)
        active->deliver(line);
    std::free(line);
}
#endif

} // namespace

bool onTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin)) && _isatty(_fileno(stdout));
#else
    return ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO);
#endif
}

LineInput::LineInput(QObject *parent)
    : QObject(parent)
{
    active = this;
    if (const int fd = watchInterrupts(); fd >= 0) {
        m_interrupt = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(m_interrupt, &QSocketNotifier::activated, this, &LineInput::interrupted);
    }
#ifdef KORVANE_HAVE_READLINE
    rl_catch_signals = 0;
    rl_attempted_completion_function = complete;
    m_input = new QSocketNotifier(fileno(stdin), QSocketNotifier::Read, this);
    m_input->setEnabled(false);
    connect(m_input, &QSocketNotifier::activated, this, &LineInput::readAvailable);
#else
    // Plain lines from a reader of its own, which blocks where the event loop must not.
    std::thread([this] {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, stdin)) {
            QByteArray line(buffer);
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            QMetaObject::invokeMethod(
                this, [this, line] { deliver(line.constData()); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this, [this] { deliver(nullptr); }, Qt::QueuedConnection);
    }).detach();
#endif
}

LineInput::~LineInput()
{
#ifdef KORVANE_HAVE_READLINE
    rl_callback_handler_remove();
#endif
    active = nullptr;
}

void LineInput::setHistory(const QStringList &lines)
{
#ifdef KORVANE_HAVE_READLINE
    for (const QString &line : lines)
        add_history(line.toUtf8().constData());
#else
    Q_UNUSED(lines);
#endif
}

void LineInput::setCompletions(QStringList names)
{
    completions = std::move(names);
}

void LineInput::prompt(const QString &text)
{
    m_waiting = true;
    if (!m_pending.isEmpty()) {
        QMetaObject::invokeMethod(this, &LineInput::takeNext, Qt::QueuedConnection);
        return;
    }
#ifdef KORVANE_HAVE_READLINE
    m_input->setEnabled(true);
    rl_callback_handler_install(text.toUtf8().constData(), onLine);
#else
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
#endif
}

void LineInput::readAvailable()
{
#ifdef KORVANE_HAVE_READLINE
    rl_callback_read_char();
#endif
}

void LineInput::interrupted()
{
#ifndef Q_OS_WIN
    char bytes[16];
    [[maybe_unused]] const auto read = ::read(m_interrupt->socket(), bytes, sizeof bytes);
#endif
    if (!m_waiting)
        return;
#ifdef KORVANE_HAVE_READLINE
    if (rl_end > 0) {
        // A typed line is cleared, and the prompt comes back.
        rl_replace_line("", 0);
        rl_crlf();
        rl_on_new_line();
        rl_redisplay();
        return;
    }
    rl_callback_handler_remove();
    std::fputs("\n", stdout);
#endif
    deliver(nullptr);
}

void LineInput::deliver(const char *line)
{
    m_pending.append(line ? std::optional(QString::fromUtf8(line)) : std::nullopt);
    takeNext();
}

void LineInput::takeNext()
{
    if (!m_waiting || m_pending.isEmpty())
        return;
    m_waiting = false;
    if (m_input)
        m_input->setEnabled(false); // what is typed meanwhile waits in the terminal for the next prompt
    const std::optional<QString> next = m_pending.takeFirst();
    if (next)
        Q_EMIT lineEntered(*next);
    else
        Q_EMIT ended();
}

} // namespace korvane::cli
