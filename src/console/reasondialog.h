#pragma once

#include "ui/dialogactions.h"
#include "ui/secondarywindow.h"

#include <functional>

class QLabel;
class QLineEdit;

namespace korvane::console {

// The step between a kick or ban button and its command: names the command, takes a reason and a
// length where PunkBuster accepts them. The command's English name in lblAction2 decides what
// "Proceed" sends; the player it targets is read from the main window only then. Not modal, and
// reused by whichever button opens it next, typed texts included.
class ReasonDialog final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    // The text of one of the main window's fields, at the moment of the call.
    using MainField = std::function<QString(const char *name)>;

    ReasonDialog(const ui::Context &context, QWidget *owner, MainField mainField);
    ~ReasonDialog() override;

    // Shows the command and enables the fields it takes; the fields keep what they hold.
    void setAction(ui::KickAction action);

private:
    void proceed();
    void cancel();
    void clear();

    MainField m_mainField;
    QLabel *m_action;
    QLineEdit *m_reason;
    QLineEdit *m_length;
};

} // namespace korvane::console
