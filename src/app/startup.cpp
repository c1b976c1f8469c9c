#include "app/startup.h"

#include "app/languagechooser.h"
#include "console/mainwindow.h"

#include <QCoreApplication>

namespace korvane::app {

namespace {

// Stores the chosen language, and that it is to be remembered, then hands over to the main window,
// whose first showing applies the language. A setting that cannot be stored still holds for this run;
// the user is told why it will not last.
void takeChoice(console::MainWindow &main, LanguageChooser &chooser, const QString &language, bool remember)
{
    const QString failure = main.environment().settings.store(language, remember ? std::optional(true) : std::nullopt);
    if (!failure.isEmpty())
        main.environment().message(&chooser, failure);
    main.showAndRaise();
    chooser.close();
}

} // namespace

void start(console::MainWindow &main)
{
    if (main.environment().settings.isRemembered()) {
        main.showAndRaise();
        return;
    }
    auto *chooser = new LanguageChooser({main.link(), main.environment()}, &main);
    QObject::connect(
        chooser, &LanguageChooser::languageChosen, &main,
        [&main, chooser](const QString &language, bool remember) { takeChoice(main, *chooser, language, remember); });
    // The chooser belongs to the main window, so Qt does not count it as the last window closing:
    // closed before it handed over, it ends the program.
    QObject::connect(chooser, &ui::Window::closing, &main, [&main] {
        if (!main.isVisible())
            QCoreApplication::quit();
    });
    chooser->showAndRaise();
}

} // namespace korvane::app
