#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class LanguageChooser final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit LanguageChooser(MainWindow &main);
    ~LanguageChooser() override;

    void applyCaptions();
    // Shows the chooser, or skips it and opens the main window when the choice is remembered.
    void start();
    bool rememberTicked() const;
};

} // namespace korvane
