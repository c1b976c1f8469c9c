#pragma once

#include "ui/window.h"

namespace korvane::console {

// The program's name, version and credits, and the one way back to the language chooser: resetting
// the remembered language so that the next start asks again.
class AboutWindow final : public ui::Window {
    Q_OBJECT

public:
    AboutWindow(const ui::Context &context, QWidget *owner);
    ~AboutWindow() override;

private:
    void resetLanguage();
};

} // namespace korvane::console
