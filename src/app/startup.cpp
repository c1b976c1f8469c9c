#include "app/startup.h"

#include "console/mainwindow.h"
#include "settings/languagechooser.h"

#include <QCoreApplication>

namespace korvane::app {

void start(console::MainWindow &main)
{
    if (main.environment().settings.isRemembered()) {
        // Not shown at all: it would be hidden again before it could ever be drawn.
        main.showAndRaise();
        return;
    }
    auto *chooser = new settings::LanguageChooser({main.link(), main.environment()}, &main);
    main.setChooser(chooser);
    QObject::connect(chooser, &settings::LanguageChooser::languageLoaded, &main, &console::MainWindow::showAndRaise);
    // The chooser belongs to the main window, so Qt does not count it as the last window closing.
    QObject::connect(chooser, &ui::SecondaryWindow::closing, &main, [chooser] {
        if (!chooser->handedOver())
            QCoreApplication::quit();
    });
    chooser->showAndRaise();
}

} // namespace korvane::app
