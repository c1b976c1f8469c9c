#include "console/environment.h"
#include "console/mainwindow.h"
#include "settings/languagechooser.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    korvane::MainWindow console{korvane::Environment(QCoreApplication::applicationDirPath())};
    auto *chooser = new korvane::LanguageChooser(console);
    console.setChooser(chooser);
    chooser->start();
    return QApplication::exec();
}
