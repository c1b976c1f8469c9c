#include "console/consolelog.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace korvane {

namespace {

// The document breaks lines itself at '\n' (and at a lone '\r'); CR LF is one line end.
QString forDocument(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

void scrollToEnd(QPlainTextEdit *field)
{
    QTextCursor cursor = field->textCursor();
    cursor.movePosition(QTextCursor::End);
    field->setTextCursor(cursor);
    field->verticalScrollBar()->setValue(field->verticalScrollBar()->maximum());
}

} // namespace

ConsoleLog::ConsoleLog(QPlainTextEdit *field)
    : m_field(field)
{
}

void ConsoleLog::setText(const QString &text)
{
    m_field->setPlainText(forDocument(text));
    scrollToEnd(m_field);
}

void ConsoleLog::append(const QString &addition)
{
    appendTo(m_field, addition);
}

QString ConsoleLog::text() const
{
    return textOf(m_field);
}

void ConsoleLog::appendTo(QPlainTextEdit *field, const QString &addition)
{
    QTextCursor end(field->document());
    end.movePosition(QTextCursor::End);
    end.insertText(forDocument(addition));
    scrollToEnd(field);
}

QString ConsoleLog::textOf(const QPlainTextEdit *field)
{
    QString text = field->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

} // namespace korvane
