#pragma once

#include "ui/secondarywindow.h"

class QCheckBox;

namespace korvane::settings {

// The first window of a run: the user picks the language of every window and may ask for the choice
// to be remembered, so that later runs go straight to the main window. It always speaks English.
class LanguageChooser final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    LanguageChooser(const ui::Context &context, QWidget *owner);
    ~LanguageChooser() override;

    // Read by the main window's start-up, which records the remembered choice.
    bool rememberTicked() const;
    // Whether "Load Language" has handed over to the main window.
    bool handedOver() const { return m_handedOver; }

Q_SIGNALS:
    // A language was picked and stored: the main window takes over. The chooser closes itself after
    // this, unless the main window's start-up already closed it.
    void languageLoaded();

private:
    void load();

    QCheckBox *m_remember;
    // Set by a click on any language; "Load Language" trusts this rather than the buttons.
    bool m_picked = false;
    bool m_handedOver = false;
};

} // namespace korvane::settings
