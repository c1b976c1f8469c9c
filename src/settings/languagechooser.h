#pragma once

#include "console/secondarywindow.h"

class QCheckBox;

namespace korvane {

// The first window of a run: the user picks the language of every window and may ask for the choice
// to be remembered, so that later runs go straight to the main window. It always speaks English.
class LanguageChooser final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit LanguageChooser(MainWindow &main);
    ~LanguageChooser() override;

    // Shows the chooser, or skips it and opens the main window when the choice is remembered.
    void start();
    // Read by the main window's start-up, which records the remembered choice.
    bool rememberTicked() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void load();

    QCheckBox *m_remember;
    // Set by a click on any language; "Load Language" trusts this rather than the buttons.
    int m_picked = 0;
    bool m_handedOver = false;
};

} // namespace korvane
