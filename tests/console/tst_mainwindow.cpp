#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "testenv.h"

#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QUdpSocket>

using korvane::console::MainWindow;

namespace {

const QByteArray Oob(4, '\xFF');
const QString CrLf = QStringLiteral("\r\n");
// english.lang's start text of the log.
const QString StartText =
    QStringLiteral("Korvane Client: Korvane loaded. Korvane Client: Enter/select server details and Connect to login.");

// The controls that connecting enables, and those it disables.
const QStringList ConnectedSet = {
    u"btnDisconnect"_qs, u"edtAdditional"_qs, u"edtPBSS"_qs,        u"edtAList"_qs,         u"edtIPGuard"_qs,
    u"edtChangePass"_qs, u"edtExec"_qs,       u"edtSay"_qs,         u"edtBanID"_qs,         u"edtBanGUID"_qs,
    u"edtSlot1"_qs,      u"edtSlot3"_qs,      u"edtSlot2"_qs,       u"edtSlot4"_qs,         u"edtSlot5"_qs,
    u"edtSlot6"_qs,      u"edtSlot7"_qs,      u"edtSlot8"_qs,       u"edtPBBanmask"_qs,     u"btnAdditional"_qs,
    u"btnOther"_qs,      u"btnPBSS"_qs,       u"btnAList"_qs,       u"btnIPGuard"_qs,       u"btnBanList"_qs,
    u"btnUnbanAll"_qs,   u"btnUnbanID"_qs,    u"btnUnbanGUID"_qs,   u"btnRestartServer"_qs, u"btnKill"_qs,
    u"btnExec"_qs,       u"btnSay"_qs,        u"btnChangePass"_qs,  u"btnUnlock"_qs,        u"btnConfig"_qs,
    u"btnPlayers"_qs,    u"btnKick"_qs,       u"btnNameKick"_qs,    u"btnBan"_qs,           u"btnPBPlayers"_qs,
    u"btnPBKickNum"_qs,  u"btnPBKick"_qs,     u"btnPBBan"_qs,       u"btnPBBanSlot"_qs,     u"btnPBBanGUID"_qs,
    u"btnPBBanMask"_qs,  u"btnPBPopup"_qs,    u"btnNormalPopup"_qs, u"btnCheaters"_qs};
const QStringList DisconnectedSet = {u"btnConnect"_qs, u"edtIP"_qs, u"edtPort"_qs, u"edtrconpassword"_qs};
const QStringList AlwaysEnabled = {u"Command1"_qs, u"Result"_qs, u"Picture1"_qs};

QString logText(const MainWindow &main)
{
    return answerText(find<QPlainTextEdit>(&main, "Result"));
}

void fillServer(const QWidget *root, const QString &host, const QString &port, const QString &password)
{
    setField(root, "edtIP", host);
    setField(root, "edtPort", port);
    setField(root, "edtrconpassword", password);
}

// The names of the enabled controls among those the control sets switch.
QStringList enabledControls(const MainWindow &main)
{
    QStringList enabled;
    for (const QStringList &set : {ConnectedSet, DisconnectedSet, AlwaysEnabled}) {
        for (const QString &name : set) {
            if (main.findChild<QWidget *>(name)->isEnabled())
                enabled.append(name);
        }
    }
    return enabled;
}

QString shownStatus(const QByteArray &reply)
{
    return korvane::rcon::cleanReply(korvane::rcon::fromWire(reply));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsDisconnected();
    void connects_data();
    void connects();
    void emptyServerFieldIsRefused_data();
    void emptyServerFieldIsRefused();
    void badPortIsRefused_data();
    void badPortIsRefused();
    void unresolvableHostGivesErrorLine();
    void directCommands_data();
    void directCommands();
    void twoQuickClicksSendTwice();
    void passwordIsReadAtEachSend();
    void repliesAreCleanedIntoTheLog();
    void logScrollsToEndAfterAddition();
    void serverGoingAwayWhileConnected();
    void disconnectAndReconnectJudgesAgain();
    void secondConnectWhileProbingKeepsOneEndpoint();
    void closedEndpointAfterNonEtShowsNothingMore();

private:
    void connectTo(MainWindow &main, FakeServer &server, const QString &host = QStringLiteral("127.0.0.1"))
    {
        fillServer(&main, host, server.portText(), QStringLiteral("secret"));
        click(&main, "btnConnect");
        QVERIFY(QTest::qWaitFor([&] { return main.isConnected(); }, 3000));
        server.clear();
    }
};

void TestMainWindow::startsDisconnected()
{
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    QCOMPARE(main.windowTitle(), u"Korvane"_qs);
    QCOMPARE(main.size(), QSize(817, 545));
    QCOMPARE(enabledControls(main), DisconnectedSet + AlwaysEnabled);
    QCOMPARE(logText(main), StartText);
    QCOMPARE(find<QLineEdit>(&main, "edtState")->text(), u"0"_qs);
    QVERIFY(!find<QLineEdit>(&main, "edtState")->isVisible());
    QCOMPARE(find<QLineEdit>(&main, "edtrconpassword")->echoMode(), QLineEdit::Password);
}

void TestMainWindow::connects_data()
{
    QTest::addColumn<FakeServer::Mode>("mode");
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("connected");
    QTest::newRow("ET server by address") << FakeServer::Mode::EtServer << u"127.0.0.1"_qs << true;
    QTest::newRow("ET server by name") << FakeServer::Mode::EtServer << u"localhost"_qs << true;
    QTest::newRow("another game's server") << FakeServer::Mode::PlainServer << u"127.0.0.1"_qs << false;
    QTest::newRow("silent server") << FakeServer::Mode::Silent << u"127.0.0.1"_qs << false;
}

void TestMainWindow::connects()
{
    QFETCH(FakeServer::Mode, mode);
    QFETCH(QString, host);
    QFETCH(bool, connected);
    TestProgram program;
    FakeServer server(mode);
    MainWindow main(program.environment());
    main.show();
    fillServer(&main, host, server.portText(), u"secret"_qs);
    click(&main, "btnConnect");
    QVERIFY(server.waitForDatagrams(1));
    QTest::qWait(100);

    QCOMPARE(server.received(), QList<QByteArray>{korvane::rcon::statusProbe()});
    QString expected = StartText + CrLf + CrLf + u"Connecting..."_qs;
    if (mode == FakeServer::Mode::EtServer) {
        expected +=
            CrLf + shownStatus(FakeServer::etStatusReply()) + CrLf + u"Korvane Client: Server running ET"_qs + CrLf;
    } else if (mode == FakeServer::Mode::PlainServer) {
        expected += CrLf + shownStatus(FakeServer::plainStatusReply()) + CrLf +
                    u"Korvane Client: Server does not appear to be running ET"_qs + CrLf;
    }
    QCOMPARE(logText(main), expected);
    QCOMPARE(enabledControls(main), connected ? ConnectedSet + AlwaysEnabled : DisconnectedSet + AlwaysEnabled);
    QCOMPARE(find<QLineEdit>(&main, "edtState")->text(), connected ? u"1"_qs : u"0"_qs);
    QVERIFY(program.messages.isEmpty());
}

void TestMainWindow::emptyServerFieldIsRefused_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("password");
    QTest::newRow("address") << QString() << u"27960"_qs << u"pw"_qs;
    QTest::newRow("port") << u"127.0.0.1"_qs << QString() << u"pw"_qs;
    QTest::newRow("password") << u"127.0.0.1"_qs << u"27960"_qs << QString();
    QTest::newRow("all") << QString() << QString() << QString();
}

void TestMainWindow::emptyServerFieldIsRefused()
{
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, password);
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    fillServer(&main, host, port.isEmpty() ? port : server.portText(), password);
    click(&main, "btnConnect");
    QTest::qWait(100);
    QCOMPARE(program.messages, QStringList{u"Please enter values for all server fields!"_qs});
    QVERIFY(server.received().isEmpty());
    QCOMPARE(logText(main), StartText);
}

void TestMainWindow::badPortIsRefused_data()
{
    QTest::addColumn<QString>("port");
    QTest::newRow("not a number") << u"abc"_qs;
    QTest::newRow("zero") << u"0"_qs;
    QTest::newRow("too large") << u"65536"_qs;
    QTest::newRow("negative") << u"-1"_qs;
    QTest::newRow("fraction") << u"27960.5"_qs;
    QTest::newRow("blank only") << u" "_qs;
}

void TestMainWindow::badPortIsRefused()
{
    QFETCH(QString, port);
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    fillServer(&main, u"127.0.0.1"_qs, port, u"pw"_qs);
    click(&main, "btnConnect");
    QCOMPARE(program.messages, QStringList{u"The server port must be a whole number from 1 to 65535."_qs});
    QCOMPARE(logText(main), StartText);
    QCOMPARE(enabledControls(main), DisconnectedSet + AlwaysEnabled);
}

void TestMainWindow::unresolvableHostGivesErrorLine()
{
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    fillServer(&main, u"no-such-host.invalid"_qs, u"27960"_qs, u"pw"_qs);
    click(&main, "btnConnect");
    // The click returns at once; the failure comes when the lookup has answered.
    QCOMPARE(logText(main), StartText + CrLf + CrLf + u"Connecting..."_qs);
    QVERIFY(QTest::qWaitFor([&] { return logText(main).endsWith(u"an ET server"_qs); }, 10000));
    QCOMPARE(logText(main), StartText + CrLf + CrLf + u"Connecting..."_qs + CrLf +
                                u"Error: Korvane could not connect to an ET server"_qs);
    QCOMPARE(enabledControls(main), DisconnectedSet + AlwaysEnabled);
}

void TestMainWindow::directCommands_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("command");

    const auto row = [](const char *name, const char *button, const char *field, const QString &text,
                        const char *command) {
        QTest::newRow(name) << QByteArray(button) << QByteArray(field) << text << QByteArray(command);
    };
    row("players list", "btnPlayers", "", {}, " status");
    row("PB players list", "btnPBPlayers", "", {}, " pb_sv_plist");
    row("PB screenshot", "btnPBSS", "edtPBSS", u"3"_qs, " pb_sv_getss 3");
    row("alias list", "btnAList", "edtAList", u"4"_qs, " PB_SV_AList 4");
    row("IP guard", "btnIPGuard", "edtIPGuard", u"5"_qs, " PB_SV_IPGuard 5");
    row("ban list", "btnBanList", "", {}, " pb_sv_banlist");
    row("unban by id", "btnUnbanID", "edtBanID", u"12"_qs, " pb_sv_unban 12");
    row("unban by GUID", "btnUnbanGUID", "edtBanGUID", u"abcdef01"_qs, " pb_sv_unbanguid abcdef01");
    row("custom command", "btnAdditional", "edtAdditional", u"map oasis"_qs, " map oasis");
    row("custom command empty", "btnAdditional", "edtAdditional", {}, " ");
    row("unlock", "btnUnlock", "", {}, " g_password \"");
    row("exec", "btnExec", "edtExec", u"server.cfg"_qs, " exec server.cfg");
    row("say", "btnSay", "edtSay", u"hello ; \"all\""_qs, " say hello ; \"all\"");
    row("say empty", "btnSay", "edtSay", {}, " say ");
    row("say with blanks kept", "btnSay", "edtSay", u"  hi  "_qs, " say   hi  ");
    row("password lock", "btnChangePass", "edtChangePass", u"letmein"_qs, " g_password letmein");
    // An untouched field sends its default text (english.lang's).
    row("say default text", "btnSay", nullptr, {}, " say Type the message you want to be shown in global chat.");
    row("exec default text", "btnExec", nullptr, {}, " exec .cfg File Name");
    row("PB screenshot default text", "btnPBSS", nullptr, {}, " pb_sv_getss Client PB Slot #");
}

void TestMainWindow::directCommands()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, command);
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    const QString logBefore = logText(main);
    if (!field.isNull() && !field.isEmpty())
        setField(&main, field.constData(), text);
    click(&main, button.constData());
    QVERIFY(server.waitForDatagrams(1));
    QTest::qWait(50);
    QCOMPARE(server.received(), QList<QByteArray>{Oob + "rcon secret" + command});
    QCOMPARE(logText(main), logBefore); // the click itself writes nothing
    if (!field.isEmpty())
        QCOMPARE(find<QLineEdit>(&main, field.constData())->text(), text); // the field keeps its text
}

void TestMainWindow::twoQuickClicksSendTwice()
{
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    click(&main, "btnPlayers");
    click(&main, "btnPlayers");
    QVERIFY(server.waitForDatagrams(2));
    QCOMPARE(server.received(), (QList<QByteArray>{Oob + "rcon secret status", Oob + "rcon secret status"}));
}

void TestMainWindow::passwordIsReadAtEachSend()
{
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    // The password field is disabled while connected, but its text is read at every send.
    setField(&main, "edtrconpassword", u"Grüße"_qs);
    click(&main, "btnBanList");
    QVERIFY(server.waitForDatagrams(1));
    QCOMPARE(server.received().constFirst(), Oob + "rcon Gr\xFC\xDF"
                                                   "e pb_sv_banlist");
}

void TestMainWindow::repliesAreCleanedIntoTheLog()
{
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    const QList<QByteArray> replies = {FakeServer::printReply("^1one\\two\n"),
                                       FakeServer::printReply("line broken in the mid"),
                                       FakeServer::printReply("dle\n") + FakeServer::printReply("^^11 ^#"),
                                       testdata::captureReply(u"plain-rcon-bad-status.json"_qs)};
    server.setRconReplies(replies);
    const QString before = logText(main);
    click(&main, "btnPlayers");
    QVERIFY(QTest::qWaitFor([&] { return logText(main).endsWith(u"Bad rconpassword.\r\n"_qs); }, 3000));
    QCOMPARE(logText(main), before + CrLf + u"one two\r\n"_qs + CrLf + u"line broken in the mid"_qs + CrLf +
                                u"dle\r\n^1 ^#"_qs + CrLf + u"Bad rconpassword.\r\n"_qs);
}

void TestMainWindow::logScrollsToEndAfterAddition()
{
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += "line " + QByteArray::number(i) + '\n';
    server.setRconReplies({FakeServer::printReply(many)});
    click(&main, "btnPlayers");
    auto *log = find<QPlainTextEdit>(&main, "Result");
    QVERIFY(QTest::qWaitFor([&] { return logText(main).contains(u"line 199"_qs); }, 3000));
    log->verticalScrollBar()->setValue(0);
    server.setRconReplies({FakeServer::printReply("tail")});
    click(&main, "btnPlayers");
    QVERIFY(QTest::qWaitFor([&] { return logText(main).endsWith(u"tail"_qs); }, 3000));
    QCOMPARE(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
    QCOMPARE(log->textCursor().position(), log->document()->characterCount() - 1);
}

void TestMainWindow::serverGoingAwayWhileConnected()
{
    TestProgram program;
    auto server = std::make_unique<FakeServer>();
    const quint16 port = server->port();
    MainWindow main(program.environment());
    main.show();
    connectTo(main, *server);
    server.reset();
    for (int i = 0; i < 3; ++i) {
        click(&main, "btnSay");
        QTest::qWait(30);
    }
    QVERIFY(main.isConnected());
    QVERIFY(program.messages.isEmpty());

    // The server is back: commands reach it and its replies are shown again.
    QUdpSocket back;
    QVERIFY(back.bind(QHostAddress::LocalHost, port));
    click(&main, "btnPlayers");
    QVERIFY(QTest::qWaitFor([&] { return back.hasPendingDatagrams(); }, 3000));
    const QNetworkDatagram request = back.receiveDatagram();
    QCOMPARE(request.data(), Oob + "rcon secret status");
    back.writeDatagram(FakeServer::printReply("back again"), request.senderAddress(),
                       static_cast<quint16>(request.senderPort()));
    QVERIFY(QTest::qWaitFor([&] { return logText(main).endsWith(u"\r\nback again"_qs); }, 3000));
}

void TestMainWindow::disconnectAndReconnectJudgesAgain()
{
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    const QString before = logText(main);
    click(&main, "btnDisconnect");
    QCOMPARE(logText(main), before + CrLf + u"Disconnecting..."_qs + CrLf + u"Disconnected from server."_qs);
    QCOMPARE(enabledControls(main), DisconnectedSet + AlwaysEnabled);
    QCOMPARE(find<QLineEdit>(&main, "edtState")->text(), u"1"_qs); // a disconnect leaves the phase as it was
    QTest::qWait(50);
    QVERIFY(server.received().isEmpty()); // nothing is sent on disconnect

    server.setMode(FakeServer::Mode::PlainServer);
    click(&main, "btnConnect");
    QVERIFY(QTest::qWaitFor([&] { return logText(main).endsWith(u"not appear to be running ET\r\n"_qs); }, 3000));
    QCOMPARE(find<QLineEdit>(&main, "edtState")->text(), u"0"_qs);
    QVERIFY(!main.isConnected());
}

void TestMainWindow::secondConnectWhileProbingKeepsOneEndpoint()
{
    TestProgram program;
    FakeServer server(FakeServer::Mode::Silent);
    MainWindow main(program.environment());
    main.show();
    fillServer(&main, u"127.0.0.1"_qs, server.portText(), u"pw"_qs);
    click(&main, "btnConnect");
    click(&main, "btnConnect"); // ignored: the first connect is still under way
    QVERIFY(server.waitForDatagrams(1));
    click(&main, "btnConnect");
    QVERIFY(server.waitForDatagrams(2));
    QTest::qWait(20);
    QCOMPARE(main.findChildren<QUdpSocket *>().size(), 1);
    // The server answers the second probe: that one decides.
    server.sendToClient(FakeServer::etStatusReply());
    QVERIFY(QTest::qWaitFor([&] { return main.isConnected(); }, 3000));
    QCOMPARE(logText(main).count(u"Connecting..."_qs), 2);
}

void TestMainWindow::closedEndpointAfterNonEtShowsNothingMore()
{
    TestProgram program;
    FakeServer server(FakeServer::Mode::PlainServer);
    MainWindow main(program.environment());
    main.show();
    fillServer(&main, u"127.0.0.1"_qs, server.portText(), u"pw"_qs);
    click(&main, "btnConnect");
    QVERIFY(QTest::qWaitFor([&] { return logText(main).endsWith(u"not appear to be running ET\r\n"_qs); }, 3000));
    const QString judged = logText(main);
    server.sendToClient(FakeServer::printReply("late"));
    QTest::qWait(100);
    QCOMPARE(logText(main), judged);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
