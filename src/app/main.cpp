#include "app/commandline.h"
#include "app/startup.h"
#include "console/mainwindow.h"
#include "korvaneconfig.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = korvane::app::answerWithoutWindows(argc, argv))
        return *exitCode;

    QApplication app(argc, argv);
    korvane::settings::nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVANE_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));

    // The program folder decides, once, where the settings, the language files and the favourites are.
    korvane::ui::Environment environment(QCoreApplication::applicationDirPath());
    const korvane::settings::FileLocations &files = environment.settings.locations();
    environment.favoritesFile = files.favoritesStoreFile();
    // Not fatal: every later write to a missing folder reports itself where it fails.
    if (const QString failure = files.createUserFolders(); !failure.isEmpty())
        qWarning("%s", qUtf8Printable(failure));

    korvane::console::MainWindow console{std::move(environment)};
    korvane::app::start(console);
    return QApplication::exec();
}
