#include "console/environment.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>

namespace korvane {

namespace {

void blockingWait(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void messageBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvane"), text, QMessageBox::Ok, parent);
    box.exec();
}

// Refuses a name in a folder that does not exist, as the user is told at once rather than when the
// file cannot be written.
class SaveFileDialog final : public QFileDialog {
public:
    explicit SaveFileDialog(QWidget *parent)
        : QFileDialog(parent, QStringLiteral("Save File"))
    {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setNameFilter(QStringLiteral("Text File (*.txt)"));
        // Our own dialog, so that the folder check in accept() holds on every desktop.
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite, false);
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo chosen(files.constFirst());
            if (!chosen.isDir() && !chosen.dir().exists()) {
                messageBox(this, QStringLiteral("The folder %1 does not exist.")
                                     .arg(QDir::toNativeSeparators(chosen.absolutePath())));
                return;
            }
        }
        QFileDialog::accept();
    }
};

QString askSaveFileName(QWidget *parent)
{
    SaveFileDialog dialog(parent);
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
