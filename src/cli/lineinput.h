#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QSocketNotifier;

namespace korvane::cli {

// Whether standard input and output are both a terminal: only then does korvane-rcon open a prompt.
bool onTerminal();

// The lines a user types at a prompt, read without blocking the event loop. With GNU Readline (where
// the build found it): line editing, a history recalled with Up and Down, Tab completing the names
// given, and Ctrl-C clearing the line being typed (on an empty line it ends the input). Without it,
// plain lines: the terminal's own editing, no completion.
class LineInput final : public QObject {
    Q_OBJECT

public:
    explicit LineInput(QObject *parent = nullptr);
    ~LineInput() override;

    void setHistory(const QStringList &lines);
    void setCompletions(QStringList names);
    // Shows the prompt and waits for one line; lineEntered or ended follows, once.
    void prompt(const QString &text);
    // The line typed, or null at the end of input; called from the reading side only.
    void deliver(const char *line);

Q_SIGNALS:
    void lineEntered(const QString &line);
    void ended(); // end of input, or Ctrl-C on an empty line

private:
    void readAvailable();
    void interrupted();
    void takeNext();

    QSocketNotifier *m_input = nullptr;
    QSocketNotifier *m_interrupt = nullptr;
    bool m_waiting = false;
    // Lines read ahead of their prompt; null for the end of input.
    QList<std::optional<QString>> m_pending;
};

} // namespace korvane::cli
