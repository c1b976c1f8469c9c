#include "console/confirmdialog.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

ConfirmDialog::ConfirmDialog(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Sure"));
}

ConfirmDialog::~ConfirmDialog() = default;

void ConfirmDialog::applyCaptions() {}

void ConfirmDialog::setAction(const QString &, const QString &) {}

} // namespace korvane
