#pragma once

#include "console/secondarywindow.h"

class QLabel;
class QLineEdit;

namespace korvane {

// The step between a kick or ban button and its command: names the command, takes a reason and a
// length where PunkBuster accepts them. The command's English name in lblAction2 decides what
// "Proceed" sends; the player it targets is read from the main window only then. Not modal, and
// reused by whichever button opens it next, typed texts included.
class ReasonDialog final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit ReasonDialog(MainWindow &main);
    ~ReasonDialog() override;

    void applyCaptions();
    // Shows the command and enables the fields it takes; the fields keep what they hold.
    void setAction(const QString &action, bool reasonEnabled, bool lengthEnabled);

private:
    void proceed();
    void cancel();
    void clear();

    QLabel *m_action;
    QLineEdit *m_reason;
    QLineEdit *m_length;
};

} // namespace korvane
