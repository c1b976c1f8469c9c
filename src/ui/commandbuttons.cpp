#include "ui/commandbuttons.h"

#include "rcon/serverlink.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvane::ui {

void connectDirect(const Controls &controls, rcon::ServerLink &link, std::span<const DirectCommand> commands)
{
    for (const DirectCommand &command : commands) {
        auto *button = controls.get<QPushButton>(command.button);
        const QLineEdit *field = command.field ? controls.get<QLineEdit>(command.field) : nullptr;
        const QString literal = text(command.literal);
        QObject::connect(button, &QPushButton::clicked, button,
                         [&link, literal, field] { link.send(literal, field ? field->text() : QString()); });
    }
}

void setUpChoices(const Controls &controls, rcon::ServerLink &link, std::span<const ChoiceList> lists)
{
    for (const ChoiceList &choices : lists) {
        auto *list = controls.get<QComboBox>(choices.list);
        for (const Choice &entry : choices.entries)
            list->addItem(text(entry.entry));
        list->setCurrentIndex(-1);
        auto *button = controls.get<QPushButton>(choices.button);
        QObject::connect(button, &QPushButton::clicked, button, [&link, list, entries = choices.entries] {
            const QString chosen = list->currentText();
            for (const Choice &entry : entries) {
                if (chosen == text(entry.entry)) {
                    link.send(text(entry.literal));
                    return;
                }
            }
        });
    }
}

} // namespace korvane::ui
