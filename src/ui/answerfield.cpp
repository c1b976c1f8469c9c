#include "ui/answerfield.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace korvane::ui {

namespace {

// About one frame of a 60 Hz screen.
constexpr int FrameMs = 16;
// How far past the newest MaxCharacters a line start is looked for, so that the field begins with a
// whole line; a longer line is cut where the bound falls.
constexpr qsizetype LineSearch = 70'000;

// Laying out a word far longer than a line (a hostile server's 65,000 letters without a blank) takes
// the text layout a second, as it looks for a place to break; an invisible break opportunity every
// LongWord letters keeps it to the cost of ordinary text. No Windows-1252 text holds this character,
// so it is taken out again when the field is read.
constexpr qsizetype LongWord = 200;
constexpr QChar WordBreak(0x200B);

// The document breaks lines itself at '\n' (and at a lone '\r'); CR LF is one line end.
QString forDocument(const QString &text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / LongWord);
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue;
        run = c.isSpace() ? 0 : run + 1;
        if (run > LongWord) {
            shown.append(WordBreak);
            run = 1;
        }
        shown.append(c);
    }
    return shown;
}

void scrollToEnd(QPlainTextEdit *field)
{
    QTextCursor cursor = field->textCursor();
    cursor.movePosition(QTextCursor::End);
    field->setTextCursor(cursor);
    field->verticalScrollBar()->setValue(field->verticalScrollBar()->maximum());
}

// Removes the oldest text past the bound. Trimmed only once it is 10% over, so that the cost of
// removing is shared by many additions.
void keepNewest(QTextDocument *document)
{
    const qsizetype length = document->characterCount() - 1;
    if (length <= AnswerField::MaxCharacters + AnswerField::MaxCharacters / 10)
        return;
    const int bound = int(length - AnswerField::MaxCharacters);
    int cut = bound;
    const QTextBlock atBound = document->findBlock(bound);
    if (atBound.position() != bound && atBound.next().isValid() && atBound.next().position() - bound <= LineSearch)
        cut = atBound.next().position();
    QTextCursor oldest(document);
    oldest.setPosition(cut, QTextCursor::KeepAnchor);
    oldest.removeSelectedText();
}

} // namespace

AnswerField::AnswerField(QPlainTextEdit *field)
    : QObject(field)
    , m_field(field)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(FrameMs);
    connect(&m_frame, &QTimer::timeout, this, &AnswerField::flush);
}

AnswerField::~AnswerField() = default;

void AnswerField::append(const QString &addition)
{
    m_pending += forDocument(addition);
    flush();
}

void AnswerField::appendAnswer(const QString &addition)
{
    m_pending += forDocument(addition);
    if (!m_frame.isActive())
        m_frame.start();
}

void AnswerField::setText(const QString &text)
{
    m_pending.clear();
    m_frame.stop();
    m_field->setPlainText(forDocument(text));
    keepNewest(m_field->document());
    scrollToEnd(m_field);
}

void AnswerField::clear()
{
    m_pending.clear();
    m_frame.stop();
    m_field->clear();
    m_field->repaint();
}

QString AnswerField::text()
{
    flush();
    QString text = m_field->toPlainText();
    text.remove(WordBreak);
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

void AnswerField::flush()
{
    m_frame.stop();
    if (m_pending.isEmpty())
        return;
    // A very long burst is cut before it is laid out: only the newest part would stay anyway.
    if (m_pending.size() > MaxCharacters + LineSearch)
        m_pending.remove(0, m_pending.size() - MaxCharacters - LineSearch);
    QTextCursor end(m_field->document());
    end.movePosition(QTextCursor::End);
    end.insertText(std::exchange(m_pending, {}));
    keepNewest(m_field->document());
    scrollToEnd(m_field);
}

} // namespace korvane::ui
