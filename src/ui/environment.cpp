#include "ui/environment.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace korvane::ui {

namespace {

void paintingWait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void messageBox(QWidget *parent, const QString &text)
{
    // On the heap and guarded: should the parent window go away while the box is up, it takes the box
    // with it, and the box must not be deleted a second time here.
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Korvane"), text, QMessageBox::Ok, parent);
    box->exec();
    delete box.data();
}

// The save dialog of the cheaters list. The list is written to the chosen name with ".txt" appended,
// so the question before replacing a file must be about that file, not about the name as typed.
// A name in a folder that does not exist is refused at once rather than failing when written.
class SaveFileDialog final : public QFileDialog {
public:
    explicit SaveFileDialog(QWidget *parent)
        : QFileDialog(parent, QStringLiteral("Save File"))
    {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setNameFilter(QStringLiteral("Text File (*.txt)"));
        // Our own dialog, so that the checks in accept() hold on every desktop.
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
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
            const QString written = chosen.filePath() + QStringLiteral(".txt");
            if (QFileInfo::exists(written) &&
                QMessageBox::question(this, windowTitle(),
                                      QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                          .arg(QDir::toNativeSeparators(written))) != QMessageBox::Yes) {
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
    : settings(programFolder)
    , favoritesFile(std::move(favoritesFile))
    , wait(paintingWait)
    , message(messageBox)
    , saveFileName(askSaveFileName)
{
}

} // namespace korvane::ui
