// The yardstick for start-up: a bare Qt window of the main window's size.
#include "startupprobe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    StartupProbe probe(&window);
    window.resize(817, 545);
    window.show();
    return QApplication::exec();
}
