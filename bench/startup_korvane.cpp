// Korvane's start-up as the program does it, with a remembered language: the chooser is skipped and
// the main window is shown in that language. argv[1] is the program folder.
#include "startupprobe.h"

#include "app/startup.h"
#include "console/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    korvane::console::MainWindow console{korvane::ui::Environment(folder)};
    StartupProbe probe(&console);
    korvane::app::start(console);
    return QApplication::exec();
}
