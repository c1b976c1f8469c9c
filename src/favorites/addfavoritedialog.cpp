#include "favorites/addfavoritedialog.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

AddFavoriteDialog::AddFavoriteDialog(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("add_Favorites"));
}

AddFavoriteDialog::~AddFavoriteDialog() = default;

void AddFavoriteDialog::applyCaptions() {}

} // namespace korvane
