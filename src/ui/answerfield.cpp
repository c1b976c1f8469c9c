#include "ui/answerfield.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace korvane::ui {

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

void appendAnswer(QPlainTextEdit *field, const QString &addition)
{
    QTextCursor end(field->document());
    end.movePosition(QTextCursor::End);
    end.insertText(forDocument(addition));
    scrollToEnd(field);
}

void setAnswerText(QPlainTextEdit *field, const QString &text)
{
    field->setPlainText(forDocument(text));
    scrollToEnd(field);
}

QString answerText(const QPlainTextEdit *field)
{
    QString text = field->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

void clearAnswer(QPlainTextEdit *field)
{
    field->clear();
    field->repaint();
}

} // namespace korvane::ui
