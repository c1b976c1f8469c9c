#include "app/commandline.h"
#include "console/environment.h"
#include "console/mainwindow.h"
#include "korvaneconfig.h"
#include "settings/languagechooser.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = korvane::commandline::answerWithoutWindows(argc, argv))
        return *exitCode;

    QApplication app(argc, argv);
    korvane::nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVANE_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));

    // The program folder decides, once, where the settings, the language files and the favourites are.
    korvane::Environment environment(QCoreApplication::applicationDirPath());
    const korvane::FileLocations &files = environment.folder.locations();
    environment.favoritesFile = files.favoritesStoreFile();
    // Not fatal: every later write to a missing folder reports itself where it fails.
    if (const QString failure = files.createUserFolders(); !failure.isEmpty())
        qWarning("%s", qUtf8Printable(failure));

    korvane::MainWindow console{std::move(environment)};
    auto *chooser = new korvane::LanguageChooser(console);
    console.setChooser(chooser);
    chooser->start();
    return QApplication::exec();
}
