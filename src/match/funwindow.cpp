#include "match/funwindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

FunWindow::FunWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("fun"));
}

FunWindow::~FunWindow() = default;

void FunWindow::applyCaptions() {}

} // namespace korvane
