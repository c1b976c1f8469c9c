#pragma once

#include <QString>

class QPlainTextEdit;

namespace korvane {

// The main console log. Text is kept with CR LF line ends; every addition is put at the end of the
// document (never by re-setting the whole text, so an addition costs what it adds) and the field is
// scrolled to its end.
class ConsoleLog final {
public:
    explicit ConsoleLog(QPlainTextEdit *field);

    void setText(const QString &text);
    void append(const QString &addition);
    // The log as text, with CR LF line ends.
    QString text() const;

    // The same treatment for the answer fields of the secondary windows, which are appended to
    // without a separator.
    static void appendTo(QPlainTextEdit *field, const QString &addition);
    static QString textOf(const QPlainTextEdit *field);

private:
    QPlainTextEdit *m_field;
};

} // namespace korvane
