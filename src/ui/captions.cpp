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

// The key of a captioned text; ownKey is what the text's own key would be.
QString keyOf(const Text &text, const QString &ownKey)
{
    return text.source == Text::OwnKey ? ownKey : ui::text(text.value);
}

} // namespace

void applyCaptions(QWidget *window, const WindowDesign &design, const Controls &controls,
                   const settings::LanguageTexts &texts)
{
    const QString name = text(design.name);
    if (design.title.source != Text::Fixed)
        window->setWindowTitle(texts.text(keyOf(design.title, name)));
    for (const Control &control : design.layout) {
        if (control.text.source != Text::Fixed) {
            const QString own = name + u'.' + text(control.name);
            setCaption(controls.get(control.name), texts.text(keyOf(control.text, own)));
        }
    }
}

} // namespace korvane::ui
