#include "info/configwindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

ConfigWindow::ConfigWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Config"));
}

ConfigWindow::~ConfigWindow() = default;

void ConfigWindow::applyCaptions() {}

} // namespace korvane
