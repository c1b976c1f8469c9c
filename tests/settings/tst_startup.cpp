// The start of a run: the language chooser, the remembered choice, the About window's reset, and where the program
// keeps its files: the program in <temporary>/prefix/bin and the user's folders emptied for each test
// (XDG_CONFIG_HOME and XDG_DATA_HOME there; on Windows the roaming data in Qt's test-mode folder qttest).

#include "app/startup.h"
#include "settings/filelocations.h"
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// One start of the program.
struct Run {
    explicit Run(korvane::ui::Environment environment)
        : main(std::move(environment))
    {
        korvane::app::start(main);
        chooser = main.findChild<QWidget *>(u"Lang"_s);
    }
    // The window shown: "Lang" (the chooser), "Form1" (the main window, the chooser gone) or "?".
    QString shown() const
    {
        if (!main.isVisible() && chooser && chooser->isVisible())
            return u"Lang"_s;
        return QTest::qWaitFor([this] { return !chooser; }, 2000) && main.isVisible() ? u"Form1"_s : u"?"_s;
    }
    korvane::console::MainWindow main;
    QPointer<QWidget> chooser;
};

// A run from a settings file: the window shown first, and btnKill's caption.
// clang-format off
constexpr struct {
    const char *name, *settings, *shown, *btnKill = "";
} Starts[] = {
    {.name = "Checked True, names in other case", .settings = "[LANG]\r\nDEFAULT=german\r\nchecked=True\r\n",
     .shown = "Form1", .btnKill = "Server beenden"},
    {.name = "Checked true in lower case", .settings = "[lang]\r\nDefault=german\r\nChecked=true\r\n", .shown = "Lang"},
    {.name = "unknown language", .settings = "[lang]\r\nDefault=klingon\r\nChecked=True\r\n", .shown = "Form1"}};
// clang-format on

} // namespace

using korvane::settings::FileLocations;

class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    const QString m_bin = m_root.filePath(u"prefix/bin"_s);
#ifdef Q_OS_WIN
    const QString m_configHome = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + u"/qttest"_s;
    const QString m_dataHome = m_configHome;
#else
    const QString m_configHome = m_root.filePath(u"config"_s);
    const QString m_dataHome = m_root.filePath(u"data"_s);
#endif

private Q_SLOTS:
    void initTestCase()
    {
        korvane::settings::nameApplication();
#ifdef Q_OS_WIN
        QStandardPaths::setTestModeEnabled(true);
#else
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome));
#endif
    }
    void init()
    {
        QDir(m_root.path()).removeRecursively();
        QDir(m_configHome).removeRecursively();
        QFile::remove(m_configHome); // a file a test before put in its place
        QVERIFY(QDir().mkpath(m_bin));
    }

    void decidesMode_data()
    {
        QTest::addColumn<bool>("langFolder"); // else a file named lang beside the executable
        QTest::addColumn<FileLocations::Mode>("mode");
        QTest::addColumn<QStringList>("files"); // language folder, settings, store, history
        QTest::newRow("lang folder: portable")
            << true << FileLocations::Mode::Portable
            << QStringList{m_bin + u"/lang"_s, m_bin + u"/settings.ini"_s, u"Korvane.mdb"_s, m_bin + u"/history.txt"_s};
        // The program folder is writable here, as /usr/bin is for root: still installed.
        QTest::newRow("lang file: installed")
            << false << FileLocations::Mode::Installed
            << QStringList{m_root.filePath(u"prefix/share/korvane/lang"_s), m_configHome + u"/korvane/settings.ini"_s,
                           m_dataHome + u"/korvane/Korvane.mdb"_s, m_dataHome + u"/korvane/history.txt"_s};
    }

    void decidesMode()
    {
        QFETCH(bool, langFolder);
        QFETCH(FileLocations::Mode, mode);
        QFETCH(QStringList, files);
        QVERIFY(langFolder ? QDir(m_bin).mkdir(u"lang"_s) : testdata::writeBytes(m_bin + u"/lang"_s, "[lang]\r\n"_ba));
        const FileLocations locations = FileLocations::forExecutableFolder(m_bin);
        QCOMPARE(locations.mode(), mode);
        QCOMPARE((QStringList{locations.languageFolder(), locations.settingsFile(), locations.favoritesStoreFile(),
                              locations.historyFile()}),
                 files);
    }

    void createsUserFoldersOwnerOnly()
    {
        QVERIFY(QDir(m_bin).mkdir(u"lang"_s));
        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(), QString());
        QCOMPARE(QDir(m_root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"prefix"_s}); // portable: nothing made
        QVERIFY(QDir(m_bin).rmdir(u"lang"_s));

        // Every level made is the owner's only; a folder that is there already keeps its permissions.
        const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
        QVERIFY(QDir().mkpath(m_dataHome) && QFile::setPermissions(m_dataHome, shared));
        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(), QString());
        for (const QString &made : QStringList{m_configHome, m_configHome + u"/korvane"_s, m_dataHome + u"/korvane"_s})
            QVERIFY2(testdata::isOwnerOnly(made), qPrintable(made));
        QCOMPARE(QFile::permissions(m_dataHome) & shared, shared);
    }

    void installedProgramRemembersLanguage()
    {
        const QString lang = m_root.filePath(u"prefix/share/korvane/lang"_s);
        QVERIFY(QDir().mkpath(lang));
        QVERIFY(QFile::copy(QString::fromUtf8(KORVANE_LANG_DIR "/french.lang"), lang + u"/french.lang"_s));
        QStringList messages;
        for (const char *first : {"Lang", "Form1"}) { // the restart skips the chooser
            korvane::ui::Environment environment(m_bin);
            environment.message = [&messages](QWidget *, const QString &text) { messages.append(text); };
            QCOMPARE(environment.settings.locations().createUserFolders(), QString());
            Run run(std::move(environment));
            QCOMPARE(run.shown(), QString::fromLatin1(first));
            for (const char *control : {"Option2", "Remember", "Load"})
                if (run.chooser)
                    click(run.chooser, control);
            QCOMPARE(run.shown(), u"Form1"_s);
            QCOMPARE(readable(&run.main, "btnKill"), u"Arrêter le serveur"_s);
        }
        QCOMPARE(testdata::bytesOrMissing(m_configHome + u"/korvane/settings.ini"_s),
                 "[lang]\r\nDefault=french\r\nChecked=True\r\n"_ba);
        QCOMPARE(QDir(m_bin).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(messages, QStringList());
    }

    // A folder where settings.ini should be: one box, though "Remember Settings" makes a second write fail the same
    // way; the choice holds for the run.
    void unwritableSettingsAreSaidOnce()
    {
        TestProgram program(QString{});
        QVERIFY(QDir().mkdir(program.settingsFile()));
        Run run(program.environment());
        for (const char *control : {"Option3", "Remember", "Load"})
            click(run.chooser, control);
        QCOMPARE(run.shown(), u"Form1"_s);
        QCOMPARE(readable(&run.main, "btnKill"), u"Server beenden"_s);
        QCOMPARE(program.messages.size(), 1);
        QVERIFY2(program.messages[0].startsWith(u"The settings file \""_s +
                                                QDir::toNativeSeparators(program.settingsFile())),
                 qPrintable(program.messages[0]));
    }

    // Nothing is stored before a language is loaded: "Load Language" without a pick only asks for one, and closing
    // the chooser ends the program (one that failed to end would be stopped by the second timer).
    void chooserStoresNothingBeforeLoad()
    {
        TestProgram program{QString()};
        Run run(program.environment());
        QCOMPARE(run.shown(), u"Lang"_s);
        click(run.chooser, "Load");
        QCOMPARE(run.shown(), u"Lang"_s);
        QCOMPARE(program.messages, QStringList{u"Please select a language"_s});
        click(run.chooser, "Option2");
        click(run.chooser, "Remember");
        QTimer::singleShot(50, run.chooser.data(), &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(run.shown(), u"?"_s);
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), QByteArray("<missing>"));
    }

    void startsFromStoredSettings_data()
    {
        testdata::addRows(Starts);
    }

    // Starting never writes.
    void startsFromStoredSettings()
    {
        const auto &start = testdata::current(Starts);
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.settingsFile(), start.settings));
        Run run(program.environment());
        QCOMPARE(run.shown(), QString::fromLatin1(start.shown));
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), QByteArray(start.settings));
        if (run.main.isVisible())
            QCOMPARE(readable(&run.main, "btnKill"), QString::fromUtf8(start.btnKill));
    }

    // The reset keeps the file's other lines and takes effect at the next start.
    void aboutResetsLanguage()
    {
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.settingsFile(),
                                     "[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=german\r\nChecked=True\r\n"));
        Run run(program.environment());
        QCOMPARE(run.shown(), u"Form1"_s);
        click(&run.main, "Picture1");
        click(window("About"), "btnChangeLanguage");
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()),
                 QByteArray("[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=english\r\nChecked=False\r\n"));
        QCOMPARE(program.messages, QStringList{u"Language Reset"_s});
        QCOMPARE(Run(program.environment()).shown(), u"Lang"_s);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
