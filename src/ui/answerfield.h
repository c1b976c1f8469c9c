#pragma once

#include <QString>

class QPlainTextEdit;

// The read-only answer fields: the console log and the secondary windows' lists. Text goes in and
// comes out with CR LF line ends; an addition is put at the end of the document (never by re-setting
// the whole text, so it costs what it adds) and the field is scrolled to its end.
namespace korvane::ui {

void appendAnswer(QPlainTextEdit *field, const QString &addition);
void setAnswerText(QPlainTextEdit *field, const QString &text);
QString answerText(const QPlainTextEdit *field);
// Empties the field and shows it empty at once, before the request whose answer will fill it.
void clearAnswer(QPlainTextEdit *field);

} // namespace korvane::ui
