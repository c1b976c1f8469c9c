#pragma once

#include "console/secondarywindow.h"

namespace korvane {

// The program's name, version and credits, and the one way back to the language chooser: resetting
// the remembered language so that the next start asks again.
class AboutWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit AboutWindow(MainWindow &main);
    ~AboutWindow() override;

    void applyCaptions();

private:
    void resetLanguage();
};

} // namespace korvane
