#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class AddFavoriteDialog final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit AddFavoriteDialog(MainWindow &main);
    ~AddFavoriteDialog() override;

    void applyCaptions();

};

} // namespace korvane
