#include "console/mainwindow.h"
#include "settings/languagechooser.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include <memory>

using korvane::LanguageChooser;
using korvane::MainWindow;

namespace {

// One start of the program in the test's program folder, put together as main() does it.
struct Run {
    explicit Run(TestProgram &program)
        : main(std::make_unique<MainWindow>(program.environment()))
        , chooser(new LanguageChooser(*main))
    {
        main->setChooser(chooser);
    }

    // Waits until the chooser has closed and is gone.
    bool chooserGone() const
    {
        return QTest::qWaitFor([this] { return chooser.isNull(); }, 2000);
    }

    std::unique_ptr<MainWindow> main;
    QPointer<LanguageChooser> chooser;
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString buttonText(const QWidget *root, const char *name)
{
    return find<QAbstractButton>(root, name)->text();
}

QString frameTitle(const QWidget *root, const char *name)
{
    return find<QGroupBox>(root, name)->title();
}

// Every text a person can read in the window, by control: captions, frame titles, field contents.
QMap<QString, QString> visibleTexts(const QWidget *window)
{
    QMap<QString, QString> texts;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        QString text;
        if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
            text = frame->title();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            text = button->text();
        else if (const auto *label = qobject_cast<const QLabel *>(widget))
            text = label->text();
        else if (const auto *field = qobject_cast<const QLineEdit *>(widget))
            text = field->text();
        else if (const auto *answer = qobject_cast<const QPlainTextEdit *>(widget))
            text = answer->toPlainText();
        else
            continue;
        if (!widget->objectName().isEmpty())
            texts.insert(widget->objectName(), text);
    }
    return texts;
}

const QString German = QStringLiteral("german");

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstRunAsksForLanguage_data();
    void firstRunAsksForLanguage();
    void rememberedChoiceSkipsChooser_data();
    void rememberedChoiceSkipsChooser();
    void nextRunFollowsRemember_data();
    void nextRunFollowsRemember();
    void loadWithoutPickAsksAgain();
    void closingChooserEndsProgram();
    void aboutResetsLanguage();
    void withoutLanguageTextsEverythingBlank_data();
    void withoutLanguageTextsEverythingBlank();
};

void TestStartup::firstRunAsksForLanguage_data()
{
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("frame1");
    QTest::addColumn<QString>("btnKill");
    QTest::newRow("English") << QByteArray("Option1") << QByteArray("[lang]\r\nDefault=english\r\n")
                             << QStringLiteral("Server Properties") << QStringLiteral("Kill The Server");
    QTest::newRow("Francais") << QByteArray("Option2") << QByteArray("[lang]\r\nDefault=french\r\n")
                              << QStringLiteral("Propri\u00e9t\u00e9s du serveur")
                              << QStringLiteral("Arr\u00eater le serveur");
    QTest::newRow("Deutsch") << QByteArray("Option3") << QByteArray("[lang]\r\nDefault=german\r\n")
                             << QStringLiteral("Servereigenschaften") << QStringLiteral("Server beenden");
    QTest::newRow("Nederlands") << QByteArray("Option4") << QByteArray("[lang]\r\nDefault=dutch\r\n")
                                << QStringLiteral("Servereigenschappen") << QStringLiteral("Server afsluiten");
}

void TestStartup::firstRunAsksForLanguage()
{
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, settings);
    QFETCH(QString, frame1);
    QFETCH(QString, btnKill);

    TestProgram program{QString()};
    QVERIFY(!QFile::exists(program.settingsFile()));
    Run run(program);
    run.chooser->start();

    QVERIFY(run.chooser->isVisible());
    QVERIFY(!run.main->isVisible());
    QCOMPARE(run.chooser->windowTitle(), QStringLiteral("Select Language"));
    // Nothing is preselected, and the choice is not remembered unless asked for.
    for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
        QVERIFY(!find<QRadioButton>(run.chooser, name)->isChecked());
    QVERIFY(!find<QCheckBox>(run.chooser, "Remember")->isChecked());
    QCOMPARE(find<QLabel>(run.chooser, "Picture1")->pixmap().size(), QSize(121, 121));

    click(run.chooser, option.constData());
    click(run.chooser, "Load");

    QVERIFY(run.main->isVisible());
    QVERIFY(run.chooserGone());
    QCOMPARE(fileBytes(program.settingsFile()), settings);
    QCOMPARE(frameTitle(run.main.get(), "Frame1"), frame1);
    QCOMPARE(buttonText(run.main.get(), "btnKill"), btnKill);
    // The main window's title is not a language text.
    QCOMPARE(run.main->windowTitle(), QStringLiteral("Korvane"));
    QVERIFY(program.messages.isEmpty());
}

void TestStartup::rememberedChoiceSkipsChooser_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("skipped");
    QTest::newRow("Checked True") << QByteArray("[lang]\r\nDefault=german\r\nChecked=True\r\n") << true;
    QTest::newRow("names in other letter case") << QByteArray("[LANG]\r\nDEFAULT=german\r\nchecked=True\r\n") << true;
    QTest::newRow("Checked true in lower case") << QByteArray("[lang]\r\nDefault=german\r\nChecked=true\r\n") << false;
    QTest::newRow("Checked TRUE") << QByteArray("[lang]\r\nDefault=german\r\nChecked=TRUE\r\n") << false;
    QTest::newRow("Checked False") << QByteArray("[lang]\r\nDefault=german\r\nChecked=False\r\n") << false;
    QTest::newRow("Checked empty") << QByteArray("[lang]\r\nDefault=german\r\nChecked=\r\n") << false;
    QTest::newRow("Checked missing") << QByteArray("[lang]\r\nDefault=german\r\n") << false;
    QTest::newRow("Checked in another section")
        << QByteArray("[window]\r\nChecked=True\r\n[lang]\r\nDefault=german\r\n") << false;
}

void TestStartup::rememberedChoiceSkipsChooser()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, skipped);

    TestProgram program{QString()};
    writeFile(program.settingsFile(), settings);
    Run run(program);
    run.chooser->start();

    if (skipped) {
        QVERIFY(run.main->isVisible());
        QVERIFY(run.chooserGone());
        QCOMPARE(buttonText(run.main.get(), "btnKill"), QStringLiteral("Server beenden"));
    } else {
        QVERIFY(run.chooser->isVisible());
        QVERIFY(!run.main->isVisible());
    }
    // Starting never writes: only a pick or a ticked box does.
    QCOMPARE(fileBytes(program.settingsFile()), settings);
}

void TestStartup::nextRunFollowsRemember_data()
{
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("Remember ticked") << true << QByteArray("[lang]\r\nDefault=french\r\nChecked=True\r\n");
    QTest::newRow("Remember unticked") << false << QByteArray("[lang]\r\nDefault=french\r\n");
}

void TestStartup::nextRunFollowsRemember()
{
    QFETCH(bool, remember);
    QFETCH(QByteArray, settings);

    TestProgram program{QString()};
    {
        Run first(program);
        first.chooser->start();
        click(first.chooser, "Option2");
        if (remember)
            click(first.chooser, "Remember");
        click(first.chooser, "Load");
        QVERIFY(first.chooserGone());
    }
    QCOMPARE(fileBytes(program.settingsFile()), settings);

    Run next(program);
    next.chooser->start();
    QCOMPARE(next.main->isVisible(), remember);
    if (remember) {
        QVERIFY(next.chooserGone());
        QCOMPARE(buttonText(next.main.get(), "btnKill"), QStringLiteral("Arr\u00eater le serveur"));
    } else {
        QVERIFY(next.chooser->isVisible());
        // The stored language is not preselected.
        for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
            QVERIFY(!find<QRadioButton>(next.chooser, name)->isChecked());
    }
    QCOMPARE(fileBytes(program.settingsFile()), settings);
}

void TestStartup::loadWithoutPickAsksAgain()
{
    TestProgram program{QString()};
    Run run(program);
    run.chooser->start();

    click(run.chooser, "Remember");
    click(run.chooser, "Load");
    QCOMPARE(program.messages, QStringList{QStringLiteral("Please select a language")});
    QVERIFY(!QFile::exists(program.settingsFile()));
    QVERIFY(run.chooser->isVisible());
    QVERIFY(!run.main->isVisible());

    // The chooser is still usable after the reminder.
    click(run.chooser, "Option3");
    click(run.chooser, "Load");
    QVERIFY(run.chooserGone());
    QCOMPARE(fileBytes(program.settingsFile()), QByteArray("[lang]\r\nDefault=german\r\nChecked=True\r\n"));
    QCOMPARE(buttonText(run.main.get(), "btnKill"), QStringLiteral("Server beenden"));
    QCOMPARE(program.messages.size(), 1);
}

void TestStartup::closingChooserEndsProgram()
{
    TestProgram program{QString()};
    Run run(program);
    run.chooser->start();
    click(run.chooser, "Option2");
    click(run.chooser, "Remember");

    // The user closes the chooser with its close box while the program runs its event loop; a
    // program that failed to end would be stopped by the second timer and fail the test.
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
    writeFile(program.settingsFile(), "[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=german\r\nChecked=True\r\n");
    Run run(program);
    run.chooser->start();
    QVERIFY(run.chooserGone());

    QTest::mouseClick(find(run.main.get(), "Picture1"), Qt::LeftButton);
    QWidget *about = window("About");
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("About Korvane"));
    QCOMPARE(find<QLabel>(about, "Label9")->text(), QStringLiteral("Version 1.00"));
    QCOMPARE(find<QLabel>(about, "Picture1")->pixmap().size(), QSize(505, 65));
    QCOMPARE(buttonText(about, "btnChangeLanguage"), QStringLiteral("Korvane-Sprache beim Start zur\u00fccksetzen"));

    click(about, "btnChangeLanguage");
    QCOMPARE(fileBytes(program.settingsFile()),
             QByteArray("[window]\r\nLeft=10\r\n\r\n[lang]\r\nDefault=english\r\nChecked=False\r\n"));
    QCOMPARE(program.messages, QStringList{QStringLiteral("Language Reset")});
    // The running windows keep their texts until the next start.
    QVERIFY(about->isVisible());
    QCOMPARE(buttonText(about, "btnChangeLanguage"), QStringLiteral("Korvane-Sprache beim Start zur\u00fccksetzen"));
    QCOMPARE(buttonText(run.main.get(), "btnKill"), QStringLiteral("Server beenden"));

    // A second click on the logo brings the same window back rather than a second one.
    QTest::mouseClick(find(run.main.get(), "Picture1"), Qt::LeftButton);
    QCOMPARE(run.main->findChildren<QWidget *>(QStringLiteral("About"), Qt::FindDirectChildrenOnly).size(), 1);

    Run next(program);
    next.chooser->start();
    QVERIFY(next.chooser->isVisible());
    QVERIFY(!next.main->isVisible());
}

void TestStartup::withoutLanguageTextsEverythingBlank_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("removeLanguageFiles");
    QTest::newRow("no language files") << QByteArray("[lang]\r\nDefault=english\r\nChecked=True\r\n") << true;
    QTest::newRow("no language stored") << QByteArray("[lang]\r\nChecked=True\r\n") << false;
    QTest::newRow("language Default") << QByteArray("[lang]\r\nDefault=Default\r\nChecked=True\r\n") << false;
    QTest::newRow("unknown language") << QByteArray("[lang]\r\nDefault=klingon\r\nChecked=True\r\n") << false;
}

void TestStartup::withoutLanguageTextsEverythingBlank()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, removeLanguageFiles);

    TestProgram program{QString()};
    writeFile(program.settingsFile(), settings);
    if (removeLanguageFiles)
        program.removeLanguageFiles();
    Run run(program);
    run.chooser->start();
    QVERIFY(run.main->isVisible());
    QVERIFY(run.chooserGone());

    // Only the controls without a language text keep their design: the PB GUID ban button, the
    // server fields (empty) and the hidden state field.
    const QMap<QString, QString> unkeyed = {
        {QStringLiteral("btnPBBanGUID"), QStringLiteral("PB Ban By GUID")},
        {QStringLiteral("edtState"), QStringLiteral("0")},
    };
    const QMap<QString, QString> texts = visibleTexts(run.main.get());
    QVERIFY(texts.size() > 61);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(it.key() + u'=' + it.value(), it.key() + u'=' + unkeyed.value(it.key()));
    QCOMPARE(run.main->windowTitle(), QStringLiteral("Korvane"));

    QTest::mouseClick(find(run.main.get(), "Picture1"), Qt::LeftButton);
    QWidget *about = window("About");
    QVERIFY(about);
    QCOMPARE(buttonText(about, "btnChangeLanguage"), QString());
    QCOMPARE(about->windowTitle(), QStringLiteral("About Korvane"));
    QCOMPARE(find<QLabel>(about, "Label9")->text(), QStringLiteral("Version 1.00"));
    QCOMPARE(fileBytes(program.settingsFile()), settings);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
