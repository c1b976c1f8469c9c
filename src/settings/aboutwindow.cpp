#include "settings/aboutwindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

AboutWindow::AboutWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("About"));
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::applyCaptions() {}

} // namespace korvane
