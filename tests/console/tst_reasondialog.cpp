#include "console/mainwindow.h"
#include "fakeserver.h"
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

QLineEdit *field(const QWidget *root, const char *name)
{
    return find<QLineEdit>(root, name);
}

// Connected to a loopback server, with the server's record cleared.
struct Session : ConnectedConsole {
    using ConnectedConsole::ConnectedConsole;

    QWidget *dialog() const { return find(&main, "Reason"); }
};

} // namespace

class TestReasonDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commands_data();
    void commands();
    void fieldsPerOpener_data();
    void fieldsPerOpener();
    void lastOpenerWins_data();
    void lastOpenerWins();
    void targetEditedAfterOpening();
    void sendsNothing_data();
    void sendsNothing();
    void keyboard_data();
    void keyboard();
    void enterAndEscapeDoNothing();
    void captions_data();
    void captions();
    void closedByDisconnect();
};

void TestReasonDialog::commands_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("targetText");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QByteArray>("expected");
    const QString length = QStringLiteral("10");
    const QString reason = QStringLiteral("cheating");
    QTest::newRow("Kick By ID Number ignores both fields")
        << QByteArray("btnKick") << QByteArray("edtSlot1") << QStringLiteral("4") << length << reason
        << request(" clientkick 4");
    QTest::newRow("Kick By ID Number with the untouched hint")
        << QByteArray("btnKick") << QByteArray("edtSlot1") << QStringLiteral("Client ID #") << QString() << QString()
        << request(" clientkick Client ID #");
    QTest::newRow("Kick By Name with blanks, unquoted")
        << QByteArray("btnNameKick") << QByteArray("edtSlot3") << QStringLiteral(" Big \"Bad\" Wolf ") << length
        << reason << request(" kick  Big \"Bad\" Wolf ");
    QTest::newRow("Ban By Name") << QByteArray("btnBan") << QByteArray("edtSlot2") << QStringLiteral("Zo\u00eb")
                                 << length << reason << request(" ban Zo\xeb");
    QTest::newRow("PB Kick By Slot # 3 10 cheating")
        << QByteArray("btnPBKickNum") << QByteArray("edtSlot4") << QStringLiteral("3") << length << reason
        << request(" pb_sv_kick 3 10 cheating");
    QTest::newRow("PB Kick By Slot # all empty") << QByteArray("btnPBKickNum") << QByteArray("edtSlot4") << QString()
                                                 << QString() << QString() << request(" pb_sv_kick   ");
    QTest::newRow("PB Kick By Name, empty length and reason")
        << QByteArray("btnPBKick") << QByteArray("edtSlot5") << QStringLiteral("name") << QString() << QString()
        << request(" pb_sv_kick name  ");
    QTest::newRow("PB Kick By Name, empty length")
        << QByteArray("btnPBKick") << QByteArray("edtSlot5") << QStringLiteral("name") << QString() << reason
        << request(" pb_sv_kick name  cheating");
    QTest::newRow("PB Ban By Name") << QByteArray("btnPBBan") << QByteArray("edtSlot6") << QStringLiteral("name")
                                    << length << reason << request(" pb_sv_ban name cheating");
    QTest::newRow("PB Ban By Name, empty reason")
        << QByteArray("btnPBBan") << QByteArray("edtSlot6") << QStringLiteral("name") << length << QString()
        << request(" pb_sv_ban name ");
    QTest::newRow("PB Ban By Slot #") << QByteArray("btnPBBanSlot") << QByteArray("edtSlot8") << QStringLiteral("7")
                                      << length << QStringLiteral("wall hack\\aim")
                                      << request(" pb_sv_ban 7 wall hack\\aim");
    QTest::newRow("PB Ban By GUID sends the reason field as it stands")
        << QByteArray("btnPBBanGUID") << QByteArray("edtSlot7") << QStringLiteral("0123abcd") << length << reason
        << request(" pb_sv_banguid 0123abcd cheating");
    QTest::newRow("PB Ban By IP ignores both fields")
        << QByteArray("btnPBBanMask") << QByteArray("edtPBBanmask") << QStringLiteral("10.0.*.*") << length << reason
        << request(" pb_sv_banmask 10.0.*.*");
}

void TestReasonDialog::commands()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, target);
    QFETCH(QString, targetText);
    QFETCH(QString, length);
    QFETCH(QString, reason);
    QFETCH(QByteArray, expected);
    Session s;
    QVERIFY(s.connected);
    field(&s.main, target.constData())->setText(targetText);
    click(&s.main, button.constData());
    QPointer<QWidget> dialog = s.dialog();
    QVERIFY(dialog && dialog->isVisible());
    // Disabled fields cannot be typed into, but what they hold is still read.
    field(dialog, "edtLength")->setText(length);
    field(dialog, "edtReason")->setText(reason);
    QVERIFY(s.server.received().isEmpty());

    click(dialog, "btnProceed");
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
}

void TestReasonDialog::fieldsPerOpener_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("reason");
    QTest::addColumn<bool>("length");
    QTest::newRow("btnKick") << QByteArray("btnKick") << QStringLiteral("Kick By ID Number") << false << false;
    QTest::newRow("btnNameKick") << QByteArray("btnNameKick") << QStringLiteral("Kick By Name") << false << false;
    QTest::newRow("btnBan") << QByteArray("btnBan") << QStringLiteral("Ban By Name") << false << false;
    QTest::newRow("btnPBKickNum") << QByteArray("btnPBKickNum") << QStringLiteral("PB Kick By Slot #") << true << true;
    QTest::newRow("btnPBKick") << QByteArray("btnPBKick") << QStringLiteral("PB Kick By Name") << true << true;
    QTest::newRow("btnPBBan") << QByteArray("btnPBBan") << QStringLiteral("PB Ban By Name") << true << false;
    QTest::newRow("btnPBBanSlot") << QByteArray("btnPBBanSlot") << QStringLiteral("PB Ban By Slot #") << true << false;
    QTest::newRow("btnPBBanGUID") << QByteArray("btnPBBanGUID") << QStringLiteral("PB Ban By GUID") << false << false;
    QTest::newRow("btnPBBanMask") << QByteArray("btnPBBanMask") << QStringLiteral("PB Ban By IP") << false << false;
}

void TestReasonDialog::fieldsPerOpener()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, action);
    QFETCH(bool, reason);
    QFETCH(bool, length);
    Session s;
    QVERIFY(s.connected);
    click(&s.main, button.constData());
    QWidget *dialog = s.dialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Kick/Ban Reason"));
    auto *command = find<QLabel>(dialog, "lblAction2");
    QCOMPARE(command->text(), action);
    QVERIFY(!command->isEnabled());
    QCOMPARE(field(dialog, "edtReason")->isEnabled(), reason);
    QCOMPARE(field(dialog, "edtLength")->isEnabled(), length);
    QCOMPARE(field(dialog, "edtReason")->text(), QString());
    QCOMPARE(field(dialog, "edtLength")->text(), QString());
}

void TestReasonDialog::lastOpenerWins_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("reasonEnabled");
    QTest::addColumn<bool>("lengthEnabled");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("typed reason carried into PB Ban By GUID") << QByteArray("btnPBKick") << QByteArray("btnPBBanGUID")
                                                              << false << false << request(" pb_sv_banguid GUID spam");
    QTest::newRow("typed texts ignored by Kick By Name")
        << QByteArray("btnPBKickNum") << QByteArray("btnNameKick") << false << false << request(" kick NAME");
    QTest::newRow("PB Ban By Name keeps the length disabled but filled")
        << QByteArray("btnPBKick") << QByteArray("btnPBBan") << true << false << request(" pb_sv_ban BANNAME spam");
    QTest::newRow("back to a PB kick keeps both texts") << QByteArray("btnPBKickNum") << QByteArray("btnPBKick") << true
                                                        << true << request(" pb_sv_kick KICKNAME 5 spam");
}

void TestReasonDialog::lastOpenerWins()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(bool, reasonEnabled);
    QFETCH(bool, lengthEnabled);
    QFETCH(QByteArray, expected);
    Session s;
    QVERIFY(s.connected);
    field(&s.main, "edtSlot7")->setText(QStringLiteral("GUID"));
    field(&s.main, "edtSlot3")->setText(QStringLiteral("NAME"));
    field(&s.main, "edtSlot6")->setText(QStringLiteral("BANNAME"));
    field(&s.main, "edtSlot5")->setText(QStringLiteral("KICKNAME"));
    click(&s.main, first.constData());
    QPointer<QWidget> dialog = s.dialog();
    QTest::keyClicks(field(dialog, "edtReason"), QStringLiteral("spam"));
    QTest::keyClicks(field(dialog, "edtLength"), QStringLiteral("5"));

    click(&s.main, second.constData());
    QCOMPARE(s.dialog(), dialog.data());
    QCOMPARE(s.main.findChildren<QWidget *>(QStringLiteral("Reason")).size(), 1);
    QCOMPARE(field(dialog, "edtReason")->isEnabled(), reasonEnabled);
    QCOMPARE(field(dialog, "edtLength")->isEnabled(), lengthEnabled);
    QCOMPARE(field(dialog, "edtReason")->text(), QStringLiteral("spam"));
    QCOMPARE(field(dialog, "edtLength")->text(), QStringLiteral("5"));
    click(dialog, "btnProceed");
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
}

void TestReasonDialog::targetEditedAfterOpening()
{
    Session s;
    QVERIFY(s.connected);
    field(&s.main, "edtSlot4")->setText(QStringLiteral("3"));
    click(&s.main, "btnPBKickNum");
    field(&s.main, "edtSlot4")->setText(QStringLiteral("12"));
    field(&s.main, "edtrconpassword")->setText(QStringLiteral("other"));
    click(s.dialog(), "btnProceed");
    QVERIFY(s.server.waitForDatagrams(1));
    QCOMPARE(s.server.received().value(0), Header + "rcon other pb_sv_kick 12  ");
}

void TestReasonDialog::sendsNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << QStringLiteral("Cancel");
    QTest::newRow("close box") << QStringLiteral("close box");
    QTest::newRow("Proceed on another case") << QStringLiteral("pb kick by name");
    QTest::newRow("Proceed on a leading blank") << QStringLiteral(" PB Kick By Name");
    QTest::newRow("Proceed on an empty label") << QString();
}

void TestReasonDialog::sendsNothing()
{
    QFETCH(QString, how);
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnPBKick");
    QPointer<QWidget> dialog = s.dialog();
    field(dialog, "edtReason")->setText(QStringLiteral("spam"));
    field(dialog, "edtLength")->setText(QStringLiteral("5"));
    if (how == u"Cancel") {
        click(dialog, "btnCancel");
    } else if (how == u"close box") {
        dialog->close();
    } else {
        s.main.openReason(how, true, true);
        click(dialog, "btnProceed");
    }
    QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }, 3000));
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));

    // The typed texts went with the closed dialog.
    click(&s.main, "btnPBKick");
    QCOMPARE(field(s.dialog(), "edtReason")->text(), QString());
    QCOMPARE(field(s.dialog(), "edtLength")->text(), QString());
}

void TestReasonDialog::keyboard_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("both fields") << QByteArray("btnPBKick")
                                 << QStringList{QStringLiteral("btnCancel"), QStringLiteral("btnProceed"),
                                                QStringLiteral("edtReason"), QStringLiteral("edtLength"),
                                                QStringLiteral("Picture1"),  QStringLiteral("btnCancel")};
    QTest::newRow("reason only") << QByteArray("btnPBBan")
                                 << QStringList{QStringLiteral("btnCancel"), QStringLiteral("btnProceed"),
                                                QStringLiteral("edtReason"), QStringLiteral("Picture1")};
    QTest::newRow("no field") << QByteArray("btnKick")
                              << QStringList{QStringLiteral("btnCancel"), QStringLiteral("btnProceed"),
                                             QStringLiteral("Picture1"), QStringLiteral("btnCancel")};
}

void TestReasonDialog::keyboard()
{
    QFETCH(QByteArray, button);
    QFETCH(QStringList, order);
    Session s;
    QVERIFY(s.connected);
    click(&s.main, button.constData());
    QWidget *dialog = s.dialog();
    for (const QString &name : order) {
        QCOMPARE(dialog->focusWidget()->objectName(), name);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    }
}

void TestReasonDialog::enterAndEscapeDoNothing()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnPBKick");
    QWidget *dialog = s.dialog();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        for (const char *name : {"btnCancel", "btnProceed", "edtReason", "edtLength"})
            QTest::keyClick(find(dialog, name), key);
        QTest::keyClick(dialog, key);
    }
    QVERIFY(dialog->isVisible());
    QCOMPARE(find<QLabel>(dialog, "lblAction2")->text(), QStringLiteral("PB Kick By Name"));
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));
}

void TestReasonDialog::captions_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected"); // title, headline, three row captions, two buttons
    QTest::newRow("every caption renamed")
        << QStringList{QStringLiteral("Reason=T"),
                       QStringLiteral("Reason.lblReason2=H"),
                       QStringLiteral("Reason.lblAction=C"),
                       QStringLiteral("Reason.lblReason=R"),
                       QStringLiteral("Reason.lblLength=L"),
                       QStringLiteral("Reason.btnProceed=P"),
                       QStringLiteral("Reason.btnCancel=X"),
                       QStringLiteral("Reason.lblAction2=translated"),
                       QStringLiteral("Reason.edtReason=translated"),
                       QStringLiteral("Reason.edtLength=translated")}
        << QStringList{QStringLiteral("T"), QStringLiteral("H"), QStringLiteral("C"), QStringLiteral("R"),
                       QStringLiteral("L"), QStringLiteral("P"), QStringLiteral("X")};
    QTest::newRow("no keys of the dialog")
        << QStringList{QStringLiteral("Form1.btnPBKick=Kick")} << QStringList(7, QString());
}

void TestReasonDialog::captions()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    Session s(QStringLiteral("testing"));
    s.program.writeLanguageFile(QStringLiteral("testing"), entries);
    QVERIFY(s.connected);
    field(&s.main, "edtSlot5")->setText(QStringLiteral("name"));
    click(&s.main, "btnPBKick");
    QWidget *dialog = s.dialog();
    field(dialog, "edtReason")->setText(QStringLiteral("spam"));
    // Opening again applies the texts again; the command and the typed fields stay.
    click(&s.main, "btnPBKick");
    const QStringList shown = {dialog->windowTitle(),
                               find<QLabel>(dialog, "lblReason2")->text(),
                               find<QLabel>(dialog, "lblAction")->text(),
                               find<QLabel>(dialog, "lblReason")->text(),
                               find<QLabel>(dialog, "lblLength")->text(),
                               find<QPushButton>(dialog, "btnProceed")->text(),
                               find<QPushButton>(dialog, "btnCancel")->text()};
    QCOMPARE(shown, expected);
    QCOMPARE(find<QLabel>(dialog, "lblAction2")->text(), QStringLiteral("PB Kick By Name"));
    QCOMPARE(field(dialog, "edtReason")->text(), QStringLiteral("spam"));
    QCOMPARE(field(dialog, "edtLength")->text(), QString());
    click(dialog, "btnProceed");
    QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({request(" pb_sv_kick name  spam"), Sentinel}));
}

void TestReasonDialog::closedByDisconnect()
{
    Session s;
    QVERIFY(s.connected);
    click(&s.main, "btnPBBan");
    QPointer<QWidget> dialog = s.dialog();
    QVERIFY(dialog && dialog->isVisible());
    click(&s.main, "btnDisconnect");
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QVERIFY(!window("Reason"));
}

QTEST_MAIN(TestReasonDialog)
#include "tst_reasondialog.moc"
