#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class FunWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit FunWindow(MainWindow &main);
    ~FunWindow() override;

    void applyCaptions();

};

} // namespace korvane
