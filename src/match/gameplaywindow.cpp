#include "match/gameplaywindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

GamePlayWindow::GamePlayWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Other"));
}

GamePlayWindow::~GamePlayWindow() = default;

void GamePlayWindow::applyCaptions() {}

QString GamePlayWindow::refereeText() const { return {}; }

} // namespace korvane
