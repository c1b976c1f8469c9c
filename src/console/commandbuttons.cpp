#include "console/commandbuttons.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvane::commands {

void connectDirect(QWidget *window, MainWindow &main, std::span<const Direct> commands)
{
    for (const Direct &command : commands) {
        auto *button = form::child<QPushButton>(window, command.button);
        const QLineEdit *field = command.field ? form::child<QLineEdit>(window, command.field) : nullptr;
        const QString literal = form::text(command.literal);
        QObject::connect(button, &QPushButton::clicked, window,
                         [&main, literal, field] { main.sendCommand(literal, field ? field->text() : QString()); });
    }
}

void setUpChoices(QWidget *window, MainWindow &main, std::span<const ChoiceList> lists)
{
    for (const ChoiceList &choices : lists) {
        auto *list = form::child<QComboBox>(window, choices.list);
        for (const Choice &entry : choices.entries)
            list->addItem(form::text(entry.entry));
        list->setCurrentIndex(-1);
        const std::span<const Choice> entries = choices.entries;
        QObject::connect(form::child<QPushButton>(window, choices.button), &QPushButton::clicked, window,
                         [&main, list, entries] {
                             const QString chosen = list->currentText();
                             for (const Choice &entry : entries) {
                                 if (chosen == form::text(entry.entry)) {
                                     main.sendCommand(form::text(entry.literal));
                                     return;
                                 }
                             }
                         });
    }
}

} // namespace korvane::commands
