#pragma once

#include "console/dialogactions.h"
#include "ui/window.h"

#include <optional>

class QLabel;
class QLineEdit;

namespace korvane::console {

// The step between a kick or ban button and its command: names the command, takes a reason and a
// length where PunkBuster accepts them, and says what was decided; the main window, which holds the
// player's field, sends it. Not modal, and reused by whichever button opens it next, typed texts
// included.
class ReasonDialog final : public ui::Window {
    Q_OBJECT

public:
    ReasonDialog(const ui::Context &context, QWidget *owner);
    ~ReasonDialog() override;

    // Shows the command and enables the fields it takes; the fields keep what they hold.
    void setAction(KickAction action);

Q_SIGNALS:
    // "Proceed" was clicked, with the two fields as they hold, enabled or not; the dialog closes after
    // this.
    void proceeded(korvane::console::KickAction action, const QString &length, const QString &reason);

private:
    void answer(bool proceed);

    std::optional<KickAction> m_action;
    QLabel *m_actionName;
    QLineEdit *m_reason;
    QLineEdit *m_length;
};

} // namespace korvane::console
