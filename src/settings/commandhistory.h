#pragma once

#include <QString>
#include <QStringList>

namespace korvane::settings {

// The commands a user typed, oldest first, kept in a text file of one command per line (UTF-8, LF).
// The file is the user's alone: a command may carry a password (g_password, rconpassword).
class CommandHistory final {
public:
    // The oldest lines are dropped beyond this.
    static constexpr qsizetype MaxLines = 1000;

    explicit CommandHistory(QString file);

    // Reads the file; a missing file is an empty history. Empty, or a sentence naming the file and why.
    QString load();
    const QStringList &lines() const { return m_lines; }
    // Adds a line unless it is empty or the newest already, then writes the file. When it cannot be
    // written the line still holds for this run; the answer is a sentence naming the file and why.
    QString add(const QString &line);

private:
    QString save() const;

    QString m_file;
    QStringList m_lines;
};

} // namespace korvane::settings
