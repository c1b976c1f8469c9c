#pragma once

#include "console/secondarywindow.h"

namespace korvane {

// Adds one server to the favourites: a name, its address, port and rcon password, none of them empty.
// After a successful add the favourites window opens again and shows it.
class AddFavoriteDialog final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit AddFavoriteDialog(MainWindow &main);
    ~AddFavoriteDialog() override;

    void applyCaptions();

private:
    void addServer();
};

} // namespace korvane
