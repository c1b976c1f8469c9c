#include "app/commandline.h"

#include "settings/consoleoutput.h"
#include "settings/filelocations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace korvane::app {

using settings::FileLocations;
using settings::nameApplication;

namespace {

const char *const Answered[] = {"-h", "--help", "-v", "--version"};

bool asksForAnswer(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--") == 0)
            return false;
        for (const char *option : Answered) {
            if (qstrcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// Where this copy of the program keeps its files, for the help text.
QString filesText()
{
    const FileLocations files = FileLocations::forExecutableFolder(QCoreApplication::applicationDirPath());
    const bool portable = files.mode() == FileLocations::Mode::Portable;
    return QStringLiteral("Files (%1 mode: %2):\n  language files  %3\n  settings        %4\n  favourites      %5")
        .arg(portable ? QStringLiteral("portable") : QStringLiteral("installed"),
             portable ? QStringLiteral("a lang folder is beside the program")
                      : QStringLiteral("no lang folder beside the program"),
             QDir::toNativeSeparators(files.languageFolder()), QDir::toNativeSeparators(files.settingsFile()),
             portable ? QStringLiteral("Korvane.mdb in the folder Korvane is started from")
                      : QDir::toNativeSeparators(files.favoritesStoreFile()));
}

} // namespace

std::optional<int> answerWithoutWindows(int &argc, char **argv)
{
    if (!asksForAnswer(argc, argv))
        return std::nullopt;

    QCoreApplication app(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Remote-administration console for Wolfenstein: Enemy Territory game servers.\n\n") +
        filesText());
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options may stand beside ours; they are not refused here.
    parser.parse(QCoreApplication::arguments());

    const QString answer = parser.isSet(help) ? parser.helpText()
                                              : QCoreApplication::applicationName() + QLatin1Char(' ') +
                                                    QCoreApplication::applicationVersion() + QLatin1Char('\n');
    settings::useParentConsole();
    settings::writeUtf8(stdout, answer.toUtf8());
    return std::ferror(stdout) == 0 ? 0 : 1;
}

} // namespace korvane::app
