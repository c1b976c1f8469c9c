#pragma once

#include "console/secondarywindow.h"

class QLabel;

namespace korvane {

// "Are you sure?" before a dangerous action. The action's English name in lblAction2 is all the
// dialog knows about what to do: "Yes" looks that text up and sends the one command that belongs to it.
// Not modal, and reused by whichever button opens it next.
class ConfirmDialog final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit ConfirmDialog(MainWindow &main);
    ~ConfirmDialog() override;

    void applyCaptions();
    // Shows the action and the parameter as the opener describes them; both stay untranslated.
    void setAction(const QString &action, const QString &parameter);

private:
    void confirm();
    void cancel();
    void clear();

    QLabel *m_action;
    QLabel *m_parameter;
};

} // namespace korvane
