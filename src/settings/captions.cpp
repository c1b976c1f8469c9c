#include "settings/captions.h"

#include "settings/programfolder.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace korvane::captions {

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
        Q_ASSERT_X(false, "captions::setCaption", "control kind without a caption");
}

void apply(QWidget *window, const ProgramFolder &folder, std::span<const Entry> table)
{
    const QString language = folder.language();
    for (const Entry &entry : table) {
        const QString text = folder.languageText(language, QString::fromLatin1(entry.key));
        if (!entry.target) {
            window->setWindowTitle(text);
            continue;
        }
        QWidget *target = window->findChild<QWidget *>(QString::fromLatin1(entry.target));
        Q_ASSERT_X(target, "captions::apply", entry.target);
        if (target)
            setCaption(target, text);
    }
}

} // namespace korvane::captions
