// The game play commands window against a loopback server: the bytes each button sends, the
// campaign list filled from the window's own endpoint, and how opening and disconnecting treat it.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/rconchannel.h"
#include "testenv.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

using namespace Qt::StringLiterals;
using korvane::MainWindow;
using korvane::RconChannel;

namespace {

const QByteArray Request = QByteArray(4, '\xFF') + "rcon secret";
const QByteArray CampaignRequest = Request + " listcampaigns";
const QByteArray Marker = Request + " ref pause";

// A console connected to a loopback server, with the game play window open.
struct Session {
    TestProgram program;
    FakeServer server;
    MainWindow main{program.environment()};
    QWidget *other = nullptr;

    bool connect()
    {
        main.show();
        main.setServerFields(QStringLiteral("127.0.0.1"), server.portText(), QStringLiteral("secret"));
        click(&main, "btnConnect");
        return QTest::qWaitFor([&] { return main.isConnected(); }, 3000);
    }
    // Opens the window and waits for its campaign request; what arrives afterwards is all that is kept.
    bool open()
    {
        click(&main, "btnOther");
        other = window("Other");
        const bool asked = other && QTest::qWaitFor([&] { return server.rconReceived().contains(CampaignRequest); });
        server.clear();
        return asked;
    }
    // What a click sends. A marker click follows it, so that "nothing" is known once the marker arrives.
    QByteArray sentBy(const char *button)
    {
        server.clear();
        click(other, button);
        click(other, "btnPause");
        if (!server.waitForDatagrams(1))
            return "(nothing arrived)";
        const QByteArray first = server.received().constFirst();
        return first == Marker ? QByteArray() : first;
    }
    QStringList campaigns() const
    {
        QStringList entries;
        const auto *list = find<QListWidget>(other, "List1");
        for (int i = 0; i < list->count(); ++i)
            entries.append(list->item(i)->text());
        return entries;
    }
    // Sends a last reply and waits for its entry, so that every earlier reply has been handled.
    bool settle()
    {
        server.sendToClient(FakeServer::printReply("end of the list"));
        return QTest::qWaitFor([&] { return campaigns().value(campaigns().size() - 1) == u"list"; }, 3000);
    }
};

} // namespace

class TestGamePlayWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void directCommands_data();
    void directCommands();
    void fixedLists_data();
    void fixedLists();
    void confirmedActions_data();
    void confirmedActions();
    void campaignReplies_data();
    void campaignReplies();
    void loadsSelectedCampaign();
    void reopeningKeepsTheWindow();
    void disconnectClosesBothWindows();
};

void TestGamePlayWindow::directCommands_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("field"); // empty: the field keeps its hint
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("command");
    const auto plain = [](const char *row, const char *button, const char *command) {
        QTest::newRow(row) << QByteArray(button) << QByteArray() << QString() << QByteArray(command);
    };
    const auto typed = [](const char *row, const char *button, const char *field, const QString &text,
                          const QByteArray &command) {
        QTest::newRow(row) << QByteArray(button) << QByteArray(field) << text << command;
    };
    plain("pause", "btnPause", " ref pause");
    plain("resume", "btnResume", " ref unpause");
    plain("start match", "btnStartMatch", " ref startmatch");
    typed("map", "btnMap", "edtMap", QStringLiteral("oasis"), " ref map oasis");
    typed("map with accent", "btnMap", "edtMap", QStringLiteral("caf\u00e9"), " ref map caf\xE9");
    typed("time limit", "btnTimeLimit", "edtTimeLimit", QStringLiteral("30"), " ref timelimit 30");
    plain("lock", "btnLock", " ref lock");
    plain("unlock", "btnUnlock", " ref unlock");
    plain("coin toss", "btnCoin", " ref cointoss");
    plain("all ready", "btnAllReady", " ref allready");
    plain("balanced teams on", "btnBTeamOn", " ref balancedteams 1");
    plain("balanced teams off", "btnBTeamOff", " ref balancedteams 0");
    typed("put allies", "btnPutAllies", "edtPutAllies", QStringLiteral("4"), " ref putallies 4");
    typed("put axis", "btnPutAxis", "edtPutAxis", QStringLiteral("5"), " ref putaxis 5");
    typed("unreferee", "btnUnReferee", "edtUnReferee", QStringLiteral("6"), " ref unreferee 6");
    typed("remove", "btnRemove", "edtRemove", QStringLiteral(" 7 "), " ref remove  7 ");
    plain("friendly fire on", "btnFFon", " ref friendlyfire 1");
    plain("friendly fire off", "btnFFoff", " ref friendlyfire 0");
    plain("mute spectators", "btnMuteS", " ref mutespecs 1");
    plain("unmute spectators", "btnUnMuteS", " ref mutespecs 0");
    plain("spec lock", "btnSpecLock", " ref speclock");
    plain("spec unlock", "btnSpecUnlock", " ref specunlock");
    typed("mute", "btnMute", "edtMute", QStringLiteral("2"), " ref mute 2");
    plain("mute with the hint", "btnMute", " ref mute Client ID #");
    typed("mute empty", "btnMute", "edtMute", QString(), " ref mute ");
    typed("unmute", "btnUnMute", "edtUnMute", QStringLiteral("2"), " ref unmute 2");
    typed("warn", "btnWarn", "edtWarn", QStringLiteral("9"), " ref warn 9");
    plain("public settings", "btnPub", " ref pub");
    plain("competition settings", "btnComp", " ref comp");
    typed("warmup", "btnWarmup", "edtWarmup", QStringLiteral("60"), " ref warmup 60");
    plain("warmup with the hint", "btnWarmup", " ref warmup Warmup Period (Seconds)");
}

void TestGamePlayWindow::directCommands()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QByteArray, command);
    Session session;
    QVERIFY(session.connect());
    QVERIFY(session.open());
    if (!field.isEmpty())
        find<QLineEdit>(session.other, field.constData())->setText(typed);
    click(session.other, button.constData());
    QVERIFY(session.server.waitForDatagrams(1));
    QCOMPARE(session.server.received().constFirst(), Request + command);
}

void TestGamePlayWindow::fixedLists_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("entry"); // -1: nothing chosen, as the window opens
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("command"); // empty: nothing is sent
    const auto gameType = [](const char *row, int entry, const char *command) {
        QTest::newRow(row) << "Combo1"_ba << entry << "btnGametype"_ba << (*command ? Request + command : QByteArray());
    };
    const auto damage = [](const char *row, int entry, const char *command) {
        QTest::newRow(row) << "Combo2"_ba << entry << "btnWarmupDamage"_ba
                           << (*command ? Request + command : QByteArray());
    };
    gameType("no game type chosen", -1, "");
    gameType("objective", 0, " ref gametype 2");
    gameType("stopwatch", 1, " ref gametype 3");
    gameType("campaign", 2, " ref gametype 4");
    gameType("last man standing", 3, " ref gametype 5");
    damage("no damage type chosen", -1, "");
    damage("none", 0, " ref warmupdamage 0");
    damage("enemy", 1, " ref warmupdamage 1");
    damage("everyone", 2, " ref warmupdamage 2");
}

void TestGamePlayWindow::fixedLists()
{
    QFETCH(QByteArray, list);
    QFETCH(int, entry);
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, command);
    Session session;
    QVERIFY(session.connect());
    QVERIFY(session.open());
    auto *combo = find<QComboBox>(session.other, list.constData());
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->currentText(), QString());
    combo->setCurrentIndex(entry);
    QCOMPARE(session.sentBy(button.constData()), command);
}

void TestGamePlayWindow::confirmedActions_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("parameter");
    const auto row = [](const char *button, const char *action, const QString &parameter = u"Not applicable"_s) {
        QTest::newRow(button) << QByteArray(button) << QString::fromLatin1(action) << parameter;
    };
    row("btnMapRestart", "Restart map");
    row("btnNextmap", "Load next map");
    row("btnMatchReset", "Reset match");
    row("btnShuffle", "Shuffle teams with restart");
    row("btnShuffle2", "Shuffle teams without restart");
    row("btnSwap", "Swap teams");
    row("btnReferee", "Give referee status", u"Player ID Number: 3"_s);
}

void TestGamePlayWindow::confirmedActions()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, action);
    QFETCH(QString, parameter);
    Session session;
    QVERIFY(session.connect());
    QVERIFY(session.open());
    find<QLineEdit>(session.other, "edtReferee")->setText(QStringLiteral("3"));
    QCOMPARE(session.sentBy(button.constData()), QByteArray());
    const QWidget *sure = window("Sure");
    QVERIFY(sure);
    QCOMPARE(find<QLabel>(sure, "lblAction2")->text(), action);
    QCOMPARE(find<QLabel>(sure, "lblInput2")->text(), parameter);
}

void TestGamePlayWindow::campaignReplies_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("three words, then a name on each line")
        << QList<QByteArray>{"Available campaigns are\n cmpgn_centraleurope\n cmpgn_northafrica\n"}
        << QStringList{u"cmpgn_centraleurope"_s, u"cmpgn_northafrica"_s};
    QTest::newRow("three words") << QList<QByteArray>{"No campaigns found\n"} << QStringList();
    QTest::newRow("fewer words") << QList<QByteArray>{"none"} << QStringList();
    QTest::newRow("two datagrams lose their first three pieces each")
        << QList<QByteArray>{"a b c one two", "d e f three"} << QStringList{u"one"_s, u"two"_s, u"three"_s};
    QTest::newRow("colour codes") << QList<QByteArray>{"a b c ^1cmpgn^7_north^qafrica ^#kept"}
                                  << QStringList{u"cmpgn_northafrica"_s, u"^#kept"_s};
    QTest::newRow("line break between words joins them")
        << QList<QByteArray>{"a b c first\nsecond third\r\nfourth"} << QStringList{u"firstsecond"_s, u"thirdfourth"_s};
    QTest::newRow("empty pieces") << QList<QByteArray>{" b c d  e "}
                                  << QStringList{u"d"_s, QString(), u"e"_s, QString()};
    QTest::newRow("backslash kept") << QList<QByteArray>{"a b c x\\y"} << QStringList{u"x\\y"_s};
}

void TestGamePlayWindow::campaignReplies()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QStringList, entries);
    Session session;
    QVERIFY(session.connect());
    QList<QByteArray> datagrams;
    for (const QByteArray &reply : replies)
        datagrams.append(FakeServer::printReply(reply));
    session.server.setRconReplies(datagrams);
    QVERIFY(session.open());
    QVERIFY(session.settle());
    QCOMPARE(session.campaigns().mid(0, session.campaigns().size() - 1), entries);
}

void TestGamePlayWindow::loadsSelectedCampaign()
{
    Session session;
    QVERIFY(session.connect());
    session.server.setRconReplies({FakeServer::printReply("a b c  cmpgn_north")});
    QVERIFY(session.open());
    QVERIFY(session.settle());
    QCOMPARE(session.campaigns(), (QStringList{QString(), u"cmpgn_north"_s, u"list"_s}));
    auto *list = find<QListWidget>(session.other, "List1");
    const auto select = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    };
    QCOMPARE(session.sentBy("btnCampaign"), QByteArray()); // nothing selected
    select(0);
    QCOMPARE(session.sentBy("btnCampaign"), QByteArray()); // the empty entry
    select(1);
    QCOMPARE(session.sentBy("btnCampaign"), Request + " ref campaign cmpgn_north");
}

void TestGamePlayWindow::reopeningKeepsTheWindow()
{
    Session session;
    QVERIFY(session.connect());
    session.server.setRconReplies({FakeServer::printReply("a b c one two")});
    QVERIFY(session.open());
    QVERIFY(session.settle());
    click(&session.main, "btnOther");
    QCOMPARE(window("Other"), session.other);
    click(session.other, "btnPause");
    QVERIFY(session.server.waitForDatagrams(1));
    QCOMPARE(session.server.received(), QList<QByteArray>{Marker});
    QCOMPARE(session.campaigns(), (QStringList{u"one"_s, u"two"_s, u"list"_s}));
    QCOMPARE(find<QComboBox>(session.other, "Combo1")->count(), 4);
    QCOMPARE(find<QComboBox>(session.other, "Combo2")->count(), 3);

    // Closed and opened again, it starts afresh and asks again.
    session.other->close();
    QVERIFY(session.open());
    QVERIFY(session.other);
    QVERIFY(session.settle());
    QCOMPARE(session.campaigns(), (QStringList{u"one"_s, u"two"_s, u"list"_s}));
}

void TestGamePlayWindow::disconnectClosesBothWindows()
{
    Session session;
    QVERIFY(session.connect());
    QVERIFY(session.open());
    click(session.other, "btnfuncommands");
    QVERIFY(window("fun"));
    QPointer<RconChannel> campaigns = session.other->findChild<RconChannel *>(QStringLiteral("Socket2"));
    QVERIFY(campaigns);
    QCOMPARE(campaigns->state(), RconChannel::Open);

    click(&session.main, "btnDisconnect");
    QVERIFY(!window("Other"));
    QVERIFY(!window("fun"));
    QVERIFY(!session.main.gamePlayWindow());
    QVERIFY(!campaigns || campaigns->state() == RconChannel::Closed);
    QVERIFY(QTest::qWaitFor([&] { return campaigns.isNull(); }, 3000));
}

QTEST_MAIN(TestGamePlayWindow)
#include "tst_gameplaywindow.moc"
