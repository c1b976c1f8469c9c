// The game play commands window against a loopback server: the bytes each button sends, the
// campaign list filled from the window's own endpoint, and how reopening and disconnecting treat it.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/endpoint.h"
#include "testenv.h"

#include <QLabel>
#include <QListWidget>
#include <QMetaProperty>
#include <QPointer>

using namespace Qt::StringLiterals;
using korvane::rcon::Endpoint;

namespace {

const QByteArray Request = QByteArray(4, '\xFF') + "rcon secret";
const QByteArray CampaignRequest = Request + " listcampaigns";
const QList<QByteArray> Nothing = {ConnectedConsole::sentinel()};

// A connected console with the game play window open.
struct Session : ConnectedConsole {
    QWidget *other = nullptr;

    // Opens the window and waits for its campaign request, then for the entry ("list") of a last reply to its
    // endpoint, so that every earlier reply has been handled too; what arrived until then is dropped.
    bool open()
    {
        click(&main, "btnOther");
        other = window("Other");
        if (!other || !QTest::qWaitFor([&] { return server.received().contains(CampaignRequest); }))
            return false;
        server.clear();
        server.sendToClient(FakeServer::printReply("end of the list"));
        return QTest::qWaitFor([&] { return campaigns().endsWith(u"list"_s); });
    }
    QStringList campaigns() const
    {
        QStringList entries;
        const auto *list = find<QListWidget>(other, "List1");
        for (int i = 0; i < list->count(); ++i)
            entries.append(list->item(i)->text());
        return entries;
    }
};

} // namespace

class TestGamePlayWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sends_data();
    void sends();
    void campaignReplies_data();
    void campaignReplies();
    void selectingReopeningDisconnecting();
};

void TestGamePlayWindow::sends_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("control"); // a field or list set to `value` first; empty: as the window opens
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<QByteArray>>("sent");   // what arrives before the marker
    QTest::addColumn<QStringList>("confirmation"); // the action and parameter the "Sure" dialog shows, if it opens
    const auto row = [](const char *name, const char *button, const char *command, const char *control = "",
                        const QString &value = {}, const QStringList &confirmation = {}) {
        QTest::newRow(name) << QByteArray(button) << QByteArray(control) << value
                            << (*command ? QList<QByteArray>{Request + command, Nothing[0]} : Nothing) << confirmation;
    };
    // The confirmed actions send nothing themselves; the referee button names the player in its field.
    const auto confirmed = [&row](const char *name, const char *button, const char *action,
                                  const QString &parameter = u"Not applicable"_s) {
        row(name, button, "", "edtReferee", u"3"_s, {QString::fromLatin1(action), parameter});
    };
    row("pause", "btnPause", " ref pause");
    row("resume", "btnResume", " ref unpause");
    row("start match", "btnStartMatch", " ref startmatch");
    row("map with accent", "btnMap", " ref map caf\xE9", "edtMap", u"caf\u00e9"_s);
    row("time limit", "btnTimeLimit", " ref timelimit 30", "edtTimeLimit", u"30"_s);
    row("lock", "btnLock", " ref lock");
    row("unlock", "btnUnlock", " ref unlock");
    row("coin toss", "btnCoin", " ref cointoss");
    row("all ready", "btnAllReady", " ref allready");
    row("balanced teams on", "btnBTeamOn", " ref balancedteams 1");
    row("balanced teams off", "btnBTeamOff", " ref balancedteams 0");
    row("put allies", "btnPutAllies", " ref putallies 4", "edtPutAllies", u"4"_s);
    row("put axis", "btnPutAxis", " ref putaxis 5", "edtPutAxis", u"5"_s);
    row("unreferee", "btnUnReferee", " ref unreferee 6", "edtUnReferee", u"6"_s);
    row("remove keeps spaces", "btnRemove", " ref remove  7 ", "edtRemove", u" 7 "_s);
    row("friendly fire on", "btnFFon", " ref friendlyfire 1");
    row("friendly fire off", "btnFFoff", " ref friendlyfire 0");
    row("mute spectators", "btnMuteS", " ref mutespecs 1");
    row("unmute spectators", "btnUnMuteS", " ref mutespecs 0");
    row("spectator lock", "btnSpecLock", " ref speclock");
    row("spectator unlock", "btnSpecUnlock", " ref specunlock");
    row("mute", "btnMute", " ref mute 2", "edtMute", u"2"_s);
    row("mute empty", "btnMute", " ref mute ", "edtMute", u""_s);
    row("unmute", "btnUnMute", " ref unmute 2", "edtUnMute", u"2"_s);
    row("warn", "btnWarn", " ref warn 9", "edtWarn", u"9"_s);
    row("public settings", "btnPub", " ref pub");
    row("competition settings", "btnComp", " ref comp");
    row("warmup with the hint", "btnWarmup", " ref warmup Warmup Period (Seconds)");
    row("no game type chosen", "btnGametype", "");
    row("objective", "btnGametype", " ref gametype 2", "Combo1", u"2 - Objective"_s);
    row("stopwatch", "btnGametype", " ref gametype 3", "Combo1", u"3 - Stopwatch"_s);
    row("campaign", "btnGametype", " ref gametype 4", "Combo1", u"4 - Campaign"_s);
    row("last man standing", "btnGametype", " ref gametype 5", "Combo1", u"5 - Last Man Standing"_s);
    row("no damage type chosen", "btnWarmupDamage", "");
    row("no damage", "btnWarmupDamage", " ref warmupdamage 0", "Combo2", u"0 - None"_s);
    row("enemy damage", "btnWarmupDamage", " ref warmupdamage 1", "Combo2", u"1 - Enemy"_s);
    row("everyone damage", "btnWarmupDamage", " ref warmupdamage 2", "Combo2", u"2 - Everyone"_s);
    confirmed("restart map", "btnMapRestart", "Restart map");
    confirmed("next map", "btnNextmap", "Load next map");
    confirmed("reset match", "btnMatchReset", "Reset match");
    confirmed("shuffle with restart", "btnShuffle", "Shuffle teams with restart");
    confirmed("shuffle without restart", "btnShuffle2", "Shuffle teams without restart");
    confirmed("swap teams", "btnSwap", "Swap teams");
    confirmed("give referee status", "btnReferee", "Give referee status", u"Player ID Number: 3"_s);
}

void TestGamePlayWindow::sends()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, control);
    QFETCH(QString, value);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(QStringList, confirmation);
    Session session;
    QVERIFY(session.connected && session.open());
    // A field takes the text; a list chooses the entry of exactly that text, if there is one.
    if (QWidget *widget = control.isEmpty() ? nullptr : find(session.other, control.constData()))
        widget->metaObject()->userProperty().write(widget, value);
    click(session.other, button.constData());
    QCOMPARE(session.sentThenSentinel(), sent);
    QStringList shown;
    if (const QWidget *sure = window("Sure"))
        shown = {find<QLabel>(sure, "lblAction2")->text(), find<QLabel>(sure, "lblInput2")->text()};
    QCOMPARE(shown, confirmation);
}

void TestGamePlayWindow::campaignReplies_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QStringList>("entries");
    const auto row = [](const char *name, std::initializer_list<const char *> replies, const QStringList &entries) {
        QList<QByteArray> datagrams;
        for (const char *reply : replies)
            datagrams.append(FakeServer::printReply(reply));
        QTest::newRow(name) << datagrams << entries;
    };
    row("three words or fewer", {"No campaigns found\n", "none"}, {});
    row("two datagrams each lose three pieces", {"a b c one two", "d e f three"}, {u"one"_s, u"two"_s, u"three"_s});
    row("colour codes", {"a b c ^1cmpgn^7_north^qafrica ^#kept"}, {u"cmpgn_northafrica"_s, u"^#kept"_s});
    row("line break joins words", {"a b c one\ntwo three\r\nfour"}, {u"onetwo"_s, u"threefour"_s});
}

void TestGamePlayWindow::campaignReplies()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QStringList, entries);
    Session session;
    session.server.setRconReplies(replies);
    QVERIFY(session.connected && session.open());
    QCOMPARE(session.campaigns(), entries << u"list"_s);
}

void TestGamePlayWindow::selectingReopeningDisconnecting()
{
    Session session;
    session.server.setRconReplies({FakeServer::printReply("a b c  cmpgn_north")});
    QVERIFY(session.connected && session.open());
    const QStringList entries = {QString(), u"cmpgn_north"_s, u"list"_s};
    QCOMPARE(session.campaigns(), entries);
    // Opened again while open: the same window, no second request, no entry twice.
    click(&session.main, "btnOther");
    QCOMPARE(window("Other"), session.other);
    QCOMPARE(session.sentThenSentinel(), Nothing);
    QCOMPARE(session.campaigns(), entries);

    // Loading a campaign needs a selected entry that is not empty.
    auto *list = find<QListWidget>(session.other, "List1");
    const QList<QByteArray> loaded = {Request + " ref campaign cmpgn_north", Nothing[0]};
    for (int row : {-1, 0, 1}) {
        if (row >= 0)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        session.server.clear();
        click(session.other, "btnCampaign");
        QCOMPARE(session.sentThenSentinel(), row < 1 ? Nothing : loaded);
    }

    // A disconnect closes it and the fun window, and its endpoint with them: nothing more is sent.
    session.server.clear();
    click(session.other, "btnfuncommands");
    QVERIFY(window("fun"));
    QPointer<korvane::rcon::Endpoint> campaigns = session.other->findChild<korvane::rcon::Endpoint *>();
    QVERIFY(campaigns && campaigns->state() == korvane::rcon::Endpoint::Open);
    click(&session.main, "btnDisconnect");
    QVERIFY(!window("Other") && !window("fun"));
    QVERIFY(QTest::qWaitFor([&] { return campaigns.isNull(); }, 3000));
    QCOMPARE(session.server.received(), QList<QByteArray>{});
}

QTEST_MAIN(TestGamePlayWindow)
#include "tst_gameplaywindow.moc"
