#include "console/mainwindow.h"
#include "fakeserver.h"
#include "match/gameplaywindow.h"
#include "testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using korvane::MainWindow;

namespace {

const QByteArray Header(4, '\xFF');
const QByteArray Sentinel = ConnectedConsole::sentinel();

QByteArray request(const QByteArray &command)
{
    return Header + "rcon secret" + command;
}

QString labelText(const QWidget *root, const char *name)
{
    return find<QLabel>(root, name)->text();
}

// Connected to a loopback server, with the server's record cleared.
struct Session : ConnectedConsole {
    using ConnectedConsole::ConnectedConsole;

    QWidget *dialog() const { return find(&main, "Sure"); }

    // Opens the game play window and lets its own first request go by.
    void openGamePlay()
    {
        main.openGamePlay();
        sentThenSentinel();
        server.clear();
    }
};

} // namespace

class TestConfirmDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mainWindowOpeners_data();
    void mainWindowOpeners();
    void gamePlayActions_data();
    void gamePlayActions();
    void refereeIsReadAtYes_data();
    void refereeIsReadAtYes();
    void refereeAfterGamePlayClosedSendsNothing();
    void lastOpenerWins();
    void passwordIsReadAtYes();
    void sendsNothing_data();
    void sendsNothing();
    void keyboard();
    void enterAndEscapeDoNothing();
    void captions_data();
    void captions();
    void closedByDisconnect();
};

void TestConfirmDialog::mainWindowOpeners_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Kill The Server") << QByteArray("btnKill") << QStringLiteral("Kill the server")
                                     << request(" killserver");
    QTest::newRow("Restart Server is an exec")
        << QByteArray("btnRestartServer") << QStringLiteral("Restart server") << request(" exec server");
    QTest::newRow("Clear Bans From Memory")
        << QByteArray("btnUnbanAll") << QStringLiteral("Clear bans from memory") << request(" pb_sv_banempty");
}

void TestConfirmDialog::mainWindowOpeners()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, action);
    QFETCH(QByteArray, expected);
    Session s;
    QVERIFY(s.connected);
    click(&s.main, button.constData());
    QPointer<QWidget> dialog = s.dialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Confirm Action"));
    QCOMPARE(labelText(dialog, "lblAction2"), action);
    QCOMPARE(labelText(dialog, "lblInput2"), QStringLiteral("Not applicable"));
    QVERIFY(s.server.received().isEmpty());

    click(dialog, "btnSureOK");
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
}

void TestConfirmDialog::gamePlayActions_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Restart Map") << QStringLiteral("Restart map") << request(" ref restart");
    QTest::newRow("Next Map") << QStringLiteral("Load next map") << request(" ref nextmap");
    QTest::newRow("Reset Match") << QStringLiteral("Reset match") << request(" ref matchreset");
    QTest::newRow("Shuffle with restart")
        << QStringLiteral("Shuffle teams with restart") << request(" ref shuffleteamsxp");
    QTest::newRow("Shuffle without restart")
        << QStringLiteral("Shuffle teams without restart") << request(" ref shuffleteamsxp_norestart");
    QTest::newRow("Swap Teams") << QStringLiteral("Swap teams") << request(" ref swapteams");
}

// The game play window's buttons open the dialog through the main window; the command still goes out
// on the main endpoint.
void TestConfirmDialog::gamePlayActions()
{
    QFETCH(QString, action);
    QFETCH(QByteArray, expected);
    Session s;
    QVERIFY(s.connected);
    s.openGamePlay();
    s.main.openConfirm(action, QStringLiteral("Not applicable"));
    QCOMPARE(labelText(s.dialog(), "lblAction2"), action);
    click(s.dialog(), "btnSureOK");
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
}

void TestConfirmDialog::refereeIsReadAtYes_data()
{
    QTest::addColumn<QString>("atOpening");
    QTest::addColumn<QString>("atYes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("changed from 3 to 5") << QStringLiteral("3") << QStringLiteral("5") << request(" ref referee 5");
    QTest::newRow("empty keeps its blank") << QString() << QString() << request(" ref referee ");
    QTest::newRow("not validated") << QStringLiteral("x") << QStringLiteral(" 7 y ") << request(" ref referee  7 y ");
}

void TestConfirmDialog::refereeIsReadAtYes()
{
    QFETCH(QString, atOpening);
    QFETCH(QString, atYes);
    QFETCH(QByteArray, expected);
    Session s;
    QVERIFY(s.connected);
    s.openGamePlay();
    auto *referee = find<QLineEdit>(s.main.gamePlayWindow(), "edtReferee");
    if (!referee)
        QSKIP("the game play window has no referee field yet");
    referee->setText(atOpening);
    // What the game play window's "Give Ref Status" button does.
    s.main.openConfirm(QStringLiteral("Give referee status"), QStringLiteral("Player ID Number: ") + atOpening);
    referee->setText(atYes);
    QCOMPARE(labelText(s.dialog(), "lblInput2"), QStringLiteral("Player ID Number: ") + atOpening);
    click(s.dialog(), "btnSureOK");
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
}

void TestConfirmDialog::refereeAfterGamePlayClosedSendsNothing()
{
    Session s;
    QVERIFY(s.connected);
    s.openGamePlay();
    s.main.openConfirm(QStringLiteral("Give referee status"), QStringLiteral("Player ID Number: 3"));
    s.main.gamePlayWindow()->close();
    QPointer<QWidget> dialog = s.dialog();
    click(dialog, "btnSureOK");
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QVERIFY(!s.main.gamePlayWindow());
    QVERIFY(!window("Other"));
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));
}

void TestConfirmDialog::lastOpenerWins()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnKill");
    QPointer<QWidget> first = s.dialog();
    s.openGamePlay();
    s.main.openConfirm(QStringLiteral("Restart map"), QStringLiteral("Not applicable"));
    QCOMPARE(s.dialog(), first.data());
    QCOMPARE(s.main.findChildren<QWidget *>(QStringLiteral("Sure")).size(), 1);
    QCOMPARE(labelText(first, "lblAction2"), QStringLiteral("Restart map"));
    click(first, "btnSureOK");
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({request(" ref restart"), Sentinel}));
}

void TestConfirmDialog::passwordIsReadAtYes()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnRestartServer");
    setField(&s.main, "edtrconpassword", QStringLiteral("other"));
    click(s.dialog(), "btnSureOK");
    QVERIFY(s.server.waitForDatagrams(1));
    QCOMPARE(s.server.received().value(0), Header + "rcon other exec server");
}

void TestConfirmDialog::sendsNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("No") << QStringLiteral("No");
    QTest::newRow("close box") << QStringLiteral("close box");
    QTest::newRow("Yes on another case") << QStringLiteral("kill the server");
    QTest::newRow("Yes on a trailing blank") << QStringLiteral("Kill the server ");
    QTest::newRow("Yes on an empty label") << QString();
}

void TestConfirmDialog::sendsNothing()
{
    QFETCH(QString, how);
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnKill");
    QPointer<QWidget> dialog = s.dialog();
    if (how == u"No") {
        click(dialog, "btnSureCancel");
    } else if (how == u"close box") {
        dialog->close();
    } else {
        s.main.openConfirm(how, QStringLiteral("Not applicable"));
        click(dialog, "btnSureOK");
    }
    // Discarded: a later opening starts afresh.
    QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }, 3000));
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));
}

void TestConfirmDialog::keyboard()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnKill");
    QWidget *dialog = s.dialog();
    const QStringList order = {QStringLiteral("btnSureOK"), QStringLiteral("btnSureCancel"), QStringLiteral("Picture1"),
                               QStringLiteral("btnSureOK")};
    for (const QString &name : order) {
        QCOMPARE(dialog->focusWidget()->objectName(), name);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    }
    // Without a default button, the keyboard answers with Space on the focused button.
    QCOMPARE(dialog->focusWidget()->objectName(), QStringLiteral("btnSureCancel"));
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Space);
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({request(" killserver"), Sentinel}));
}

void TestConfirmDialog::enterAndEscapeDoNothing()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnKill");
    QWidget *dialog = s.dialog();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(find(dialog, "btnSureOK"), key);
        QTest::keyClick(find(dialog, "btnSureCancel"), key);
        QTest::keyClick(dialog, key);
    }
    QVERIFY(dialog->isVisible());
    QCOMPARE(labelText(dialog, "lblAction2"), QStringLiteral("Kill the server"));
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));
}

void TestConfirmDialog::captions_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected"); // title, headline, two row captions, two buttons
    QTest::newRow("every caption renamed")
        << QStringList{QStringLiteral("Sure=T"),
                       QStringLiteral("Sure.lblSure=H"),
                       QStringLiteral("Sure.lblAction=A"),
                       QStringLiteral("Sure.lblInput=P"),
                       QStringLiteral("Sure.btnSureOK=Y"),
                       QStringLiteral("Sure.btnSureCancel=N"),
                       QStringLiteral("Sure.lblAction2=translated"),
                       QStringLiteral("Sure.lblInput2=translated")}
        << QStringList{QStringLiteral("T"), QStringLiteral("H"), QStringLiteral("A"),
                       QStringLiteral("P"), QStringLiteral("Y"), QStringLiteral("N")};
    QTest::newRow("no keys of the dialog")
        << QStringList{QStringLiteral("Form1.btnKill=Kill")} << QStringList(6, QString());
}

void TestConfirmDialog::captions()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    Session s(QStringLiteral("testing"));
    s.program.writeLanguageFile(QStringLiteral("testing"), entries);
    QVERIFY(s.connected);
    click(&s.main, "btnKill");
    QWidget *dialog = s.dialog();
    const QStringList shown = {dialog->windowTitle(),
                               labelText(dialog, "lblSure"),
                               labelText(dialog, "lblAction"),
                               labelText(dialog, "lblInput"),
                               find<QPushButton>(dialog, "btnSureOK")->text(),
                               find<QPushButton>(dialog, "btnSureCancel")->text()};
    QCOMPARE(shown, expected);
    QCOMPARE(labelText(dialog, "lblAction2"), QStringLiteral("Kill the server"));
    QCOMPARE(labelText(dialog, "lblInput2"), QStringLiteral("Not applicable"));
    click(dialog, "btnSureOK");
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({request(" killserver"), Sentinel}));
}

void TestConfirmDialog::closedByDisconnect()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnUnbanAll");
    QPointer<QWidget> dialog = s.dialog();
    QVERIFY(dialog && dialog->isVisible());
    click(&s.main, "btnDisconnect");
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QVERIFY(!window("Sure"));
}

QTEST_MAIN(TestConfirmDialog)
#include "tst_confirmdialog.moc"
