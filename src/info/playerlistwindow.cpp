#include "info/playerlistwindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

PlayerListWindow::PlayerListWindow(MainWindow &main, PlayerList list)
    : SecondaryWindow(main)
{
    setObjectName(list == PlayerList::Normal ? QStringLiteral("NormalPlayers") : QStringLiteral("PBPlayers"));
}

PlayerListWindow::~PlayerListWindow() = default;

void PlayerListWindow::applyCaptions() {}

} // namespace korvane
