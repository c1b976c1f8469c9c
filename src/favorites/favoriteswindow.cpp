#include "favorites/favoriteswindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

FavoritesWindow::FavoritesWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Favorites"));
}

FavoritesWindow::~FavoritesWindow() = default;

void FavoritesWindow::applyCaptions() {}

} // namespace korvane
