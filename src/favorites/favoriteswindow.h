#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class FavoritesWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit FavoritesWindow(MainWindow &main);
    ~FavoritesWindow() override;

    void applyCaptions();

};

} // namespace korvane
