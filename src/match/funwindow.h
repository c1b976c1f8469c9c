#pragma once

#include "console/secondarywindow.h"

namespace korvane {

// The fun server variables of the mod, one button each, and a master reset that puts all eight back
// one by one. Everything is sent on the main endpoint; the replies land in the console.
class FunWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit FunWindow(MainWindow &main);
    ~FunWindow() override;

    void applyCaptions();

private:
    void masterReset();
};

} // namespace korvane
