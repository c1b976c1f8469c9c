// The start of a run: the language chooser, the remembered choice, and the About window's reset.

#include "app/startup.h"
#include "testenv.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

// One start of the program in the test's program folder.
struct Run {
    explicit Run(TestProgram &program)
        : main(program.environment())
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
constexpr struct {
    const char *name, *settings, *shown, *btnKill = "";
} Starts[] = {
    {.name = "Checked True, names in other case",
     .settings = "[LANG]\r\nDEFAULT=german\r\nchecked=True\r\n",
     .shown = "Form1",
     .btnKill = "Server beenden"},
    {.name = "Checked true in lower case", .settings = "[lang]\r\nDefault=german\r\nChecked=true\r\n", .shown = "Lang"},
    {.name = "unknown language", .settings = "[lang]\r\nDefault=klingon\r\nChecked=True\r\n", .shown = "Form1"}};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Nothing is stored before a language is loaded: "Load Language" without a pick only asks for one, and closing
    // the chooser ends the program (one that failed to end would be stopped by the second timer).
    void chooserStoresNothingBeforeLoad()
    {
        TestProgram program{QString()};
        Run run(program);
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

    void startsFromStoredSettings_data() { testdata::addRows(Starts); }

    // Starting never writes.
    void startsFromStoredSettings()
    {
        const auto &start = testdata::current(Starts);
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.settingsFile(), start.settings));
        Run run(program);
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
        Run run(program);
        QCOMPARE(run.shown(), u"Form1"_s);
        click(&run.main, "Picture1");
        click(window("About"), "btnChangeLanguage");
        QCOMPARE(testdata::bytesOrMissing(program.settingsFile()),
                 QByteArray("[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=english\r\nChecked=False\r\n"));
        QCOMPARE(program.messages, QStringList{u"Language Reset"_s});
        QCOMPARE(Run(program).shown(), u"Lang"_s);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
