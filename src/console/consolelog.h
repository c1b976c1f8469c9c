#pragma once

#include <QString>

class QPlainTextEdit;

namespace korvane::console {

// The main console log: every addition begins with its own CR LF, and is put at the end.
class ConsoleLog final {
public:
    explicit ConsoleLog(QPlainTextEdit *field);

    void setText(const QString &text);
    void append(const QString &addition);
    // The log as text, with CR LF line ends.
    QString text() const;

private:
    QPlainTextEdit *m_field;
};

} // namespace korvane::console
