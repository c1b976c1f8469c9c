#include "console/reasondialog.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

ReasonDialog::ReasonDialog(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Reason"));
}

ReasonDialog::~ReasonDialog() = default;

void ReasonDialog::applyCaptions() {}

void ReasonDialog::setAction(const QString &, bool, bool) {}

} // namespace korvane
