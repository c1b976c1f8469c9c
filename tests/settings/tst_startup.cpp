// The start of a run: the language chooser, the remembered choice, and the About window's reset.

#include "app/startup.h"
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// One start of the program in the test's program folder, put together as main() does it: the only place that
// knows how the start-up is wired.
void startProgram(std::unique_ptr<korvane::console::MainWindow> &main, QPointer<QWidget> &chooser, TestProgram &program)
{
    main = std::make_unique<korvane::console::MainWindow>(program.environment());
    korvane::app::start(*main);
    chooser = main->findChild<QWidget *>(QStringLiteral("Lang"));
}

struct Run {
    explicit Run(TestProgram &program) { startProgram(main, chooser, program); }
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

// clang-format off
// A run from a settings file: the window shown first, and btnKill's caption (null: no language files).
constexpr struct {
    const char *name, *settings, *shown, *btnKill;
} Starts[] = {{"Checked True, names in other case", "[LANG]\r\nDEFAULT=german\r\nchecked=True\r\n", "Form1", "Server beenden"},
              {"Checked true in lower case", "[lang]\r\nDefault=german\r\nChecked=true\r\n", "Lang", ""},
              {"no language files", "[lang]\r\nDefault=english\r\nChecked=True\r\n", "Form1", nullptr},
              {"unknown language", "[lang]\r\nDefault=klingon\r\nChecked=True\r\n", "Form1", ""}};
// clang-format on

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "Load Language" without a pick only asks for one; a remembered pick skips the chooser at the next run.
    void firstRunAsksForLanguage()
    {
        TestProgram program{QString()};
        const QString settings = program.file(u"settings.ini"_s);
        {
            Run run(program);
            QCOMPARE(run.shown(), u"Lang"_s);
            QCOMPARE(run.chooser->windowTitle(), u"Select Language"_s);
            for (const char *name : {"Option1", "Option2", "Option3", "Option4", "Remember"})
                QVERIFY(!find(run.chooser, name)->property("checked").toBool());
            click(run.chooser, "Load");
            QCOMPARE(run.shown() + QString::fromLatin1(testdata::bytesOrMissing(settings)), u"Lang<missing>"_s);
            for (const char *name : {"Option3", "Option2", "Remember", "Load"})
                click(run.chooser, name);
            QCOMPARE(run.shown() + readable(run.main.get(), "btnKill"), u"Form1Arrêter le serveur"_s);
        }
        QCOMPARE(testdata::bytesOrMissing(settings), QByteArray("[lang]\r\nDefault=french\r\nChecked=True\r\n"));
        QCOMPARE(Run(program).shown(), u"Form1"_s);
        QCOMPARE(program.messages, QStringList{u"Please select a language"_s});
    }

    void startsFromStoredSettings_data() { testdata::addRows(Starts); }

    // Starting never writes. Without language texts only the controls without a key keep their design.
    void startsFromStoredSettings()
    {
        const auto &start = testdata::current(Starts);
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.file(u"settings.ini"_s), start.settings));
        if (!start.btnKill)
            // The folder stays: a lang folder beside the program is what keeps it portable.
            for (const QFileInfo &file : QDir(program.file(u"lang"_s)).entryInfoList(QDir::Files))
                QFile::remove(file.filePath());
        Run run(program);
        QCOMPARE(run.shown(), QString::fromLatin1(start.shown));
        QCOMPARE(testdata::bytesOrMissing(program.file(u"settings.ini"_s)), QByteArray(start.settings));
        const QMap<QString, QString> texts = readableTexts(run.main.get()),
                                     unkeyed{{u"<title>"_s, u"Korvane"_s},
                                             {u"btnPBBanGUID"_s, u"PB Ban By GUID"_s},
                                             {u"edtState"_s, u"0"_s}};
        for (const auto &[control, text] : texts.asKeyValueRange()) {
            if (run.main->isVisible() && (!start.btnKill || !*start.btnKill))
                QCOMPARE(control + u'=' + text, control + u'=' + unkeyed.value(control));
        }
        QVERIFY(!run.main->isVisible() || texts.value(u"btnKill"_s) == QString::fromUtf8(start.btnKill));
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
        QCOMPARE(run.shown() + QString::fromLatin1(testdata::bytesOrMissing(program.file(u"settings.ini"_s))),
                 u"?<missing>"_s);
    }

    // The reset keeps the file's other lines and takes effect at the next start.
    void aboutResetsLanguage()
    {
        TestProgram program{QString()};
        QVERIFY(testdata::writeBytes(program.file(u"settings.ini"_s),
                                     "[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=german\r\nChecked=True\r\n"));
        Run run(program);
        QCOMPARE(run.shown(), u"Form1"_s);
        click(run.main.get(), "Picture1");
        QCOMPARE(readable(window("About"), "btnChangeLanguage"), u"Korvane-Sprache beim Start zurücksetzen"_s);
        click(window("About"), "btnChangeLanguage");
        QCOMPARE(testdata::bytesOrMissing(program.file(u"settings.ini"_s)),
                 QByteArray("[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=english\r\nChecked=False\r\n"));
        QCOMPARE(program.messages, QStringList{u"Language Reset"_s});
        QCOMPARE(Run(program).shown(), u"Lang"_s);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
