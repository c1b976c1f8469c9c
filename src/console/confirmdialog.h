#pragma once

#include "console/dialogactions.h"
#include "ui/window.h"

#include <optional>

class QLabel;

namespace korvane::console {

// "Are you sure?" before a dangerous action: shows the action's English name and its parameter, and
// says which action was confirmed; the main window sends it. Not modal, and reused by whichever
// button opens it next.
class ConfirmDialog final : public ui::Window {
    Q_OBJECT

public:
    ConfirmDialog(const ui::Context &context, QWidget *owner);
    ~ConfirmDialog() override;

    // Shows the action and the parameter as the opener describes them; both stay untranslated.
    void setAction(ConfirmAction action, const QString &parameter);

Q_SIGNALS:
    // "Yes" was clicked; the dialog closes after this.
    void confirmed(korvane::console::ConfirmAction action);

private:
    void answer(bool yes);

    std::optional<ConfirmAction> m_action;
    QLabel *m_actionName;
    QLabel *m_parameter;
};

} // namespace korvane::console
