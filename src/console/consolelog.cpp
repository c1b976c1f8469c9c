#include "console/consolelog.h"

#include "ui/answerfield.h"

namespace korvane::console {

ConsoleLog::ConsoleLog(QPlainTextEdit *field)
    : m_field(field)
{
}

void ConsoleLog::setText(const QString &text)
{
    ui::setAnswerText(m_field, text);
}

void ConsoleLog::append(const QString &addition)
{
    ui::appendAnswer(m_field, addition);
}

QString ConsoleLog::text() const
{
    return ui::answerText(m_field);
}

} // namespace korvane::console
