#include "app/startup.h"
#include "console/mainwindow.h"
#include "settings/languagechooser.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;
using korvane::console::MainWindow;
using korvane::settings::LanguageChooser;

namespace {

// One start of the program in the test's program folder, put together as main() does it.
struct Run {
    explicit Run(TestProgram &program)
        : main(std::make_unique<MainWindow>(program.environment()))
    {
        korvane::app::start(*main);
        chooser = main->findChild<LanguageChooser *>();
    }

    bool chooserGone() const
    {
        return QTest::qWaitFor([this] { return chooser.isNull(); }, 2000);
    }
    bool showsMain() const { return main->isVisible() && chooserGone(); }
    bool showsChooser() const { return !chooser.isNull() && chooser->isVisible() && !main->isVisible(); }
    QString kill() const { return find<QAbstractButton>(main.get(), "btnKill")->text(); }
    void clickLogo() const { QTest::mouseClick(find(main.get(), "Picture1"), Qt::LeftButton); }

    std::unique_ptr<MainWindow> main;
    QPointer<LanguageChooser> chooser;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstRunAsksForLanguage_data();
    void firstRunAsksForLanguage();
    void startsFromStoredSettings_data();
    void startsFromStoredSettings();
    void closingChooserEndsProgram();
    void aboutResetsLanguage();
};

void TestStartup::firstRunAsksForLanguage_data()
{
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("btnKill");
    QTest::newRow("English") << "Option1"_ba << false << "[lang]\r\nDefault=english\r\n"_ba << u"Kill The Server"_s;
    QTest::newRow("Francais, remembered")
        << "Option2"_ba << true << "[lang]\r\nDefault=french\r\nChecked=True\r\n"_ba << u"Arrêter le serveur"_s;
    QTest::newRow("Deutsch") << "Option3"_ba << false << "[lang]\r\nDefault=german\r\n"_ba << u"Server beenden"_s;
    QTest::newRow("Nederlands, remembered")
        << "Option4"_ba << true << "[lang]\r\nDefault=dutch\r\nChecked=True\r\n"_ba << u"Server afsluiten"_s;
}

void TestStartup::firstRunAsksForLanguage()
{
    QFETCH(QByteArray, option);
    QFETCH(bool, remember);
    QFETCH(QByteArray, settings);
    QFETCH(QString, btnKill);

    TestProgram program{QString()};
    {
        Run run(program);
        QVERIFY(run.showsChooser());
        // Nothing is preselected, and the choice is not remembered unless asked for.
        for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
            QVERIFY(!find<QRadioButton>(run.chooser, name)->isChecked());
        QVERIFY(!find<QCheckBox>(run.chooser, "Remember")->isChecked());
        // "Load Language" without a pick only asks for one.
        click(run.chooser, "Load");
        QCOMPARE(program.messages, QStringList{u"Please select a language"_s});
        QVERIFY(!QFile::exists(program.settingsFile()));
        QVERIFY(run.showsChooser());

        click(run.chooser, option.constData());
        if (remember)
            click(run.chooser, "Remember");
        click(run.chooser, "Load");
        QVERIFY(run.showsMain());
        QCOMPARE(run.kill(), btnKill);
        QCOMPARE(program.messages.size(), 1);
    }
    QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), settings);

    // The next run goes straight to the main window only when the choice was remembered.
    Run next(program);
    QVERIFY(remember ? next.showsMain() : next.showsChooser());
    if (remember)
        QCOMPARE(next.kill(), btnKill);
    QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), settings);
}

void TestStartup::startsFromStoredSettings_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("languageFiles");
    QTest::addColumn<bool>("skipped");
    QTest::addColumn<QString>("btnKill"); // empty: no language texts at all
    const auto row = [](const char *name, const QByteArray &settings, bool skipped, const QString &btnKill,
                        bool languageFiles = true) {
        QTest::newRow(name) << settings << languageFiles << skipped << btnKill;
    };
    const QString german = u"Server beenden"_s;
    row("Checked True", "[lang]\r\nDefault=german\r\nChecked=True\r\n", true, german);
    row("names in other letter case", "[LANG]\r\nDEFAULT=german\r\nchecked=True\r\n", true, german);
    row("Checked true in lower case", "[lang]\r\nDefault=german\r\nChecked=true\r\n", false, german);
    row("Checked False", "[lang]\r\nDefault=german\r\nChecked=False\r\n", false, german);
    row("Checked in another section", "[window]\r\nChecked=True\r\n[lang]\r\nDefault=german\r\n", false, german);
    row("no language files", "[lang]\r\nDefault=english\r\nChecked=True\r\n", true, QString(), false);
    row("no language stored", "[lang]\r\nChecked=True\r\n", true, QString());
    row("language Default", "[lang]\r\nDefault=Default\r\nChecked=True\r\n", true, QString());
    row("unknown language", "[lang]\r\nDefault=klingon\r\nChecked=True\r\n", true, QString());
}

void TestStartup::startsFromStoredSettings()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, languageFiles);
    QFETCH(bool, skipped);
    QFETCH(QString, btnKill);

    TestProgram program{QString()};
    QVERIFY(testdata::writeBytes(program.settingsFile(), settings));
    if (!languageFiles)
        program.removeLanguageFiles();
    Run run(program);
    QVERIFY(skipped ? run.showsMain() : run.showsChooser());
    // Starting never writes: only a pick or a ticked box does.
    QCOMPARE(testdata::bytesOrMissing(program.settingsFile()), settings);
    if (!skipped)
        return;
    QCOMPARE(run.kill(), btnKill);
    if (!btnKill.isEmpty())
        return;

    // Without language texts only what has none keeps its design: the title, the PB GUID ban button,
    // the server fields (empty) and the hidden state field.
    const QMap<QString, QString> unkeyed = {
        {u"<title>"_s, u"Korvane"_s}, {u"btnPBBanGUID"_s, u"PB Ban By GUID"_s}, {u"edtState"_s, u"0"_s}};
    const QMap<QString, QString> texts = readableTexts(run.main.get());
    QVERIFY(texts.size() > 60);
    for (const auto &[control, text] : texts.asKeyValueRange())
        QCOMPARE(control + u'=' + text, control + u'=' + unkeyed.value(control));
    run.clickLogo();
    QVERIFY(window("About"));
    QCOMPARE(find<QAbstractButton>(window("About"), "btnChangeLanguage")->text(), QString());
}

void TestStartup::closingChooserEndsProgram()
{
    TestProgram program{QString()};
    Run run(program);
    click(run.chooser, "Option2");
    click(run.chooser, "Remember");

    // The user closes the chooser while the program runs its event loop; a program that failed to
    // end would be stopped by the second timer and fail the test.
    QTimer::singleShot(50, run.chooser.data(), &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!run.main->isVisible());
    QVERIFY(run.chooserGone());
    QVERIFY(!QFile::exists(program.settingsFile()));
}

void TestStartup::aboutResetsLanguage()
{
    TestProgram program{QString()};
    QVERIFY(testdata::writeBytes(program.settingsFile(),
                                 "[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=german\r\nChecked=True\r\n"));
    Run run(program);
    QVERIFY(run.chooserGone());

    run.clickLogo();
    QWidget *about = window("About");
    QVERIFY(about);
    QCOMPARE(find<QAbstractButton>(about, "btnChangeLanguage")->text(), u"Korvane-Sprache beim Start zurücksetzen"_s);
    click(about, "btnChangeLanguage");
    QCOMPARE(testdata::bytesOrMissing(program.settingsFile()),
             "[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=english\r\nChecked=False\r\n"_ba);
    QCOMPARE(program.messages, QStringList{u"Language Reset"_s});

    // A second click on the logo brings the same window back rather than a second one.
    run.clickLogo();
    QCOMPARE(run.main->findChildren<QWidget *>(u"About"_s, Qt::FindDirectChildrenOnly).size(), 1);

    Run next(program);
    QVERIFY(next.showsChooser());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
