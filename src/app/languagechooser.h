#pragma once

#include "ui/window.h"

namespace korvane::app {

// The first window of a run: the user picks the language of every window and may ask for the choice
// to be remembered, so that later runs go straight to the main window. It always speaks English.
class LanguageChooser final : public ui::Window {
    Q_OBJECT

public:
    LanguageChooser(const ui::Context &context, QWidget *owner);
    ~LanguageChooser() override;

Q_SIGNALS:
    // "Load Language" with a language picked: its name ("english", "french", "german" or "dutch") and
    // whether "Remember Settings" is ticked.
    void languageChosen(const QString &language, bool remember);

private:
    void load();

    // Set by a click on any language; "Load Language" trusts this rather than the buttons.
    bool m_picked = false;
};

} // namespace korvane::app
