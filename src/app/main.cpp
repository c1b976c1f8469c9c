#include "app/startup.h"
#include "console/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    korvane::console::MainWindow console{korvane::ui::Environment(QCoreApplication::applicationDirPath())};
    korvane::app::start(console);
    return QApplication::exec();
}
