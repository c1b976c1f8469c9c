#include "console/environment.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QThread>

namespace korvane {

namespace {

void blockingWait(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

void messageBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvane"), text, QMessageBox::Ok, parent);
    box.exec();
}

QString askSaveFileName(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save File"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Text File (*.txt)"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

Environment::Environment(const QString &programFolder, QString favoritesFile)
    : folder(programFolder)
    , favoritesFile(std::move(favoritesFile))
    , wait(blockingWait)
    , message(messageBox)
    , saveFileName(askSaveFileName)
{
}

} // namespace korvane
