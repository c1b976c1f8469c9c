#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class CheatersWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit CheatersWindow(MainWindow &main);
    ~CheatersWindow() override;

    void applyCaptions();

};

} // namespace korvane
