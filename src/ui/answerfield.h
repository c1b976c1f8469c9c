#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QPlainTextEdit;

namespace korvane::ui {

// A read-only answer field: the console log, or a secondary window's list. Text goes in and comes out
// with CR LF line ends and is added at the end of the document (never by re-setting the whole text,
// so an addition costs what it adds), and the field is scrolled to its end. Answers from the server
// are gathered and laid out at most once per frame, however fast they come. The field keeps its newest
// part only: at most MaxCharacters, cut at a line start where one is near, so a flood cannot take
// the program's memory.
class AnswerField final : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype MaxCharacters = 1'000'000;

    explicit AnswerField(QPlainTextEdit *field);
    ~AnswerField() override;

    // Shown at once, after whatever answers are still waiting to be shown.
    void append(const QString &addition);
    // An answer from the server: shown with the next frame.
    void appendAnswer(const QString &addition);
    void setText(const QString &text);
    // Empties the field, forgets answers not yet shown, and shows it empty at once: a request whose
    // answer will fill it follows.
    void clear();
    QString text();

private:
    void flush();

    QPlainTextEdit *m_field;
    QString m_pending;
    QTimer m_frame;
};

} // namespace korvane::ui
