#pragma once

#include "ui/secondarywindow.h"

namespace korvane::settings {

// The program's name, version and credits, and the one way back to the language chooser: resetting
// the remembered language so that the next start asks again.
class AboutWindow final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    AboutWindow(const ui::Context &context, QWidget *owner);
    ~AboutWindow() override;

private:
    void resetLanguage();
};

} // namespace korvane::settings
