#pragma once

#include "ui/dialogactions.h"
#include "ui/secondarywindow.h"

#include <functional>
#include <optional>

class QLabel;

namespace korvane::console {

// "Are you sure?" before a dangerous action. The action's English name in lblAction2 is all the
// dialog knows about what to do: "Yes" looks that text up and sends the one command that belongs to it.
// Not modal, and reused by whichever button opens it next.
class ConfirmDialog final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    // The referee field of the game play window as it is now, or nothing while that window is closed.
    using RefereeField = std::function<std::optional<QString>()>;

    ConfirmDialog(const ui::Context &context, QWidget *owner, RefereeField referee);
    ~ConfirmDialog() override;

    // Shows the action and the parameter as the opener describes them; both stay untranslated.
    void setAction(ui::ConfirmAction action, const QString &parameter);

private:
    void confirm();
    void cancel();
    void clear();

    RefereeField m_referee;
    QLabel *m_action;
    QLabel *m_parameter;
};

} // namespace korvane::console
