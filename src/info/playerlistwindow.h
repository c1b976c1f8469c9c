#pragma once

#include "console/mainwindow.h"
#include "console/secondarywindow.h"

namespace korvane {

class PlayerListWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit PlayerListWindow(MainWindow &main, PlayerList list);
    ~PlayerListWindow() override;

    void applyCaptions();

};

} // namespace korvane
