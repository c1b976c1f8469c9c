#include "ui/captions.h"

#include "settings/programsettings.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace korvane::ui {

namespace {

void setCaption(QWidget *target, const QString &text)
{
    if (auto *frame = qobject_cast<QGroupBox *>(target))
        frame->setTitle(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(target))
        label->setText(text);
    else if (auto *field = qobject_cast<QLineEdit *>(target))
        field->setText(text);
    else if (auto *answer = qobject_cast<QPlainTextEdit *>(target))
        answer->setPlainText(text);
    else
        Q_ASSERT_X(false, "ui::setCaption", "control kind without a caption");
}

} // namespace

void applyCaptions(QWidget *window, const Controls &controls, const settings::ProgramSettings &settings,
                   std::span<const Caption> table)
{
    const settings::LanguageTexts texts = settings.languageTexts();
    for (const Caption &caption : table) {
        const QString key = QString::fromLatin1(caption.key);
        const QString text = texts.text(key);
        const qsizetype dot = key.indexOf(u'.');
        if (caption.target)
            setCaption(controls.get(caption.target), text);
        else if (dot < 0)
            window->setWindowTitle(text);
        else
            setCaption(controls.get(key.mid(dot + 1)), text);
    }
}

} // namespace korvane::ui
