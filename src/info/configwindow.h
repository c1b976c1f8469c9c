#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class ConfigWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit ConfigWindow(MainWindow &main);
    ~ConfigWindow() override;

    void applyCaptions();

};

} // namespace korvane
