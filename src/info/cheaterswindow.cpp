#include "info/cheaterswindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

CheatersWindow::CheatersWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Cheaters"));
}

CheatersWindow::~CheatersWindow() = default;

void CheatersWindow::applyCaptions() {}

} // namespace korvane
