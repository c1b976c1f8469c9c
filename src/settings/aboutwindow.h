#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class AboutWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit AboutWindow(MainWindow &main);
    ~AboutWindow() override;

    void applyCaptions();

};

} // namespace korvane
