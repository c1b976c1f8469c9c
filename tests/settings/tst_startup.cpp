// The start of a run: the language chooser, the remembered choice, and the About window's reset.

#include "app/startup.h"
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>

namespace {

// One start of the program in the test's program folder.
struct Run {
    explicit Run(TestProgram &program)
        : main(std::make_unique<korvane::console::MainWindow>(program.environment()))
    {
        korvane::app::start(*main);
        chooser = main->findChild<QWidget *>(u"Lang"_s);
    }
    // The window shown: "Lang" (the chooser), "Form1" (the main window, the chooser gone) or "?".
    QString shown() const
    {
        if (!main->isVisible() && chooser && chooser->isVisible())
            return u"Lang"_s;
        return QTest::qWaitFor([this] { return !chooser; }, 2000) && main->isVisible() ? u"Form1"_s : u"?"_s;
    }
    std::unique_ptr<korvane::console::MainWindow> main;
    QPointer<QWidget> chooser;
};

// A run from a settings file: the window shown first, and btnKill's caption.
constexpr struct {
    const char *name, *settings, *shown, *btnKill = "";
    bool languageFiles = true;
} Starts[] = {
    {.name = "Checked True, names in other case",
     .settings = "[LANG]\r\nDEFAULT=german\r\nchecked=True\r\n",
     .shown = "Form1",
     .btnKill = "Server beenden"},
    {.name = "Checked true in lower case", .settings = "[lang]\r\nDefault=german\r\nChecked=true\r\n", .shown = "Lang"},
    {.name = "no language files",
     .settings = "[lang]\r\nDefault=english\r\nChecked=True\r\n",
     .shown = "Form1",
     .languageFiles = false},
    {.name = "unknown language", .settings = "[lang]\r\nDefault=klingon\r\nChecked=True\r\n", .shown = "Form1"}};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "Load Language" without a pick only asks for one.
    void loadWithoutAPickOnlyAsks()
    {
        TestProgram program{QString()};
        Run run(program);
        QCOMPARE(run.shown(), u"Lang"_s);
        click(run.chooser, "Load");
        QCOMPARE(run.shown(), u"Lang"_s);
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), QByteArray("<missing>"));
        QCOMPARE(program.messages, QStringList{u"Please select a language"_s});
    }

    void startsFromStoredSettings_data() { testdata::addRows(Starts); }

    // Starting never writes.
    void startsFromStoredSettings()
    {
        const auto &start = testdata::current(Starts);
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.settingsFile(), start.settings));
        if (!start.languageFiles)
            // The folder stays: a lang folder beside the program is what keeps it portable.
            for (const QFileInfo &file : QDir(program.file(u"lang"_s)).entryInfoList(QDir::Files))
                QFile::remove(file.filePath());
        Run run(program);
        QCOMPARE(run.shown(), QString::fromLatin1(start.shown));
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), QByteArray(start.settings));
        if (run.main->isVisible())
            QCOMPARE(readable(run.main.get(), "btnKill"), QString::fromUtf8(start.btnKill));
    }

    // A program that failed to end would be stopped by the second timer.
    void closingChooserEndsProgram()
    {
        TestProgram program{QString()};
        Run run(program);
        click(run.chooser, "Option2");
        click(run.chooser, "Remember");
        QTimer::singleShot(50, run.chooser.data(), &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(run.shown(), u"?"_s);
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), QByteArray("<missing>"));
    }

    // The reset keeps the file's other lines and takes effect at the next start.
    void aboutResetsLanguage()
    {
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.settingsFile(),
                                     "[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=german\r\nChecked=True\r\n"));
        Run run(program);
        QCOMPARE(run.shown(), u"Form1"_s);
        click(run.main.get(), "Picture1");
        click(window("About"), "btnChangeLanguage");
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()),
                 QByteArray("[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=english\r\nChecked=False\r\n"));
        QCOMPARE(program.messages, QStringList{u"Language Reset"_s});
        QCOMPARE(Run(program).shown(), u"Lang"_s);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
