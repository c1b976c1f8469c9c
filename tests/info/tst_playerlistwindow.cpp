#include "console/consolelog.h"
#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/rconchannel.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "testenv.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include <chrono>

using korvane::ConsoleLog;
using korvane::MainWindow;
using korvane::RconChannel;

namespace {

const QByteArray Header(4, '\xFF');

// A main window connected to a loopback server, with the server's record cleared.
struct Session : ConnectedConsole {
    explicit Session(int refreshMs = 7000, const QString &language = QStringLiteral("english"))
        : ConnectedConsole(
              language, [refreshMs](korvane::Environment &environment) { environment.playerListRefreshMs = refreshMs; })
    {
    }

    QString log() const { return ConsoleLog::textOf(find<QPlainTextEdit>(&main, "Result")); }
};

QString listText(const QWidget *popup, const char *field)
{
    return ConsoleLog::textOf(find<QPlainTextEdit>(popup, field));
}

} // namespace

class TestPlayerListWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensAndAsksOnce_data();
    void opensAndAsksOnce();
    void reopeningOnlyBringsItForward_data();
    void reopeningOnlyBringsItForward();
    void asksAgainOnEveryTick_data();
    void asksAgainOnEveryTick();
    void ticksKeepTheServerButTakeTheNewPassword();
    void ticksAreSevenSecondsApart();
    void answersAreJoinedWithoutSeparator_data();
    void answersAreJoinedWithoutSeparator();
    void bothListsOpenTogether();
    void closingStopsTheRequests_data();
    void closingStopsTheRequests();
    void captionsFollowTheLanguage_data();
    void captionsFollowTheLanguage();

private:
    void addListColumns();
};

void TestPlayerListWindow::addListColumns()
{
    QTest::addColumn<QByteArray>("opener");
    QTest::addColumn<QByteArray>("window");
    QTest::addColumn<QByteArray>("endpoint");
    QTest::addColumn<QByteArray>("timer");
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("normal players") << QByteArray("btnNormalPopup") << QByteArray("NormalPlayers")
                                    << QByteArray("SocketNormal") << QByteArray("Timer1")
                                    << Header + "rcon secret status";
    QTest::newRow("punkbuster players") << QByteArray("btnPBPopup") << QByteArray("PBPlayers") << QByteArray("SocketPB")
                                        << QByteArray("Timer2") << Header + "rcon secret pb_sv_plist";
}

void TestPlayerListWindow::opensAndAsksOnce_data()
{
    addListColumns();
}

void TestPlayerListWindow::opensAndAsksOnce()
{
    QFETCH(QByteArray, opener);
    QFETCH(QByteArray, window);
    QFETCH(QByteArray, endpoint);
    QFETCH(QByteArray, timer);
    QFETCH(QByteArray, request);
    Session session;
    QVERIFY(session.connected);
    click(&session.main, opener.constData());
    QVERIFY(session.server.waitForDatagrams(1));
    QCOMPARE(session.server.received(), QList<QByteArray>{request});

    QWidget *popup = ::window(window.constData());
    QVERIFY(popup);
    QCOMPARE(popup->size(), QSize(641, 258));
    auto *channel = popup->findChild<RconChannel *>(QString::fromLatin1(endpoint));
    QVERIFY(channel);
    QCOMPARE(channel->state(), RconChannel::Open);
    auto *refresh = popup->findChild<QTimer *>(QString::fromLatin1(timer));
    QVERIFY(refresh);
    QVERIFY(refresh->isActive());
    QCOMPARE(refresh->interval(), 7000);
    QVERIFY(listText(popup, window.constData()).isEmpty());
}

void TestPlayerListWindow::reopeningOnlyBringsItForward_data()
{
    addListColumns();
}

void TestPlayerListWindow::reopeningOnlyBringsItForward()
{
    QFETCH(QByteArray, opener);
    QFETCH(QByteArray, window);
    QFETCH(QByteArray, request);
    Session session;
    QVERIFY(session.connected);
    click(&session.main, opener.constData());
    QVERIFY(session.server.waitForDatagrams(1));
    QPointer<QWidget> popup = ::window(window.constData());
    QVERIFY(popup);

    session.main.activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &session.main; }, 3000));
    click(&session.main, opener.constData());
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == popup; }, 3000));
    QCOMPARE(::window(window.constData()), popup.data());
    // The main endpoint's own request comes after anything the reopening might have sent.
    const QByteArray sentinel = Header + "rcon secret pb_sv_banlist";
    click(&session.main, "btnBanList");
    QVERIFY(QTest::qWaitFor([&] { return session.server.received().endsWith(sentinel); }, 3000));
    QCOMPARE(session.server.received(), (QList<QByteArray>{request, sentinel}));
}

void TestPlayerListWindow::asksAgainOnEveryTick_data()
{
    addListColumns();
}

void TestPlayerListWindow::asksAgainOnEveryTick()
{
    QFETCH(QByteArray, opener);
    QFETCH(QByteArray, window);
    QFETCH(QByteArray, request);
    Session session(250);
    QVERIFY(session.connected);
    session.server.setRconReplies({FakeServer::printReply("0 ^1Red^7Rabbit\n")});
    const QString logBefore = session.log();
    click(&session.main, opener.constData());
    QVERIFY(session.server.waitForDatagrams(3, 5000));
    for (const QByteArray &received : session.server.received())
        QCOMPARE(received, request);

    // Every tick empties the list before asking, so it never holds more than the latest answer.
    QWidget *popup = ::window(window.constData());
    QVERIFY(QTest::qWaitFor([&] { return listText(popup, window.constData()) == u"0 RedRabbit\r\n"; }, 3000));
    QVERIFY(session.server.waitForDatagrams(4, 5000));
    QVERIFY(QTest::qWaitFor([&] { return listText(popup, window.constData()) == u"0 RedRabbit\r\n"; }, 3000));
    QCOMPARE(session.log(), logBefore);
}

void TestPlayerListWindow::ticksKeepTheServerButTakeTheNewPassword()
{
    Session session(250);
    QVERIFY(session.connected);
    click(&session.main, "btnNormalPopup");
    QVERIFY(session.server.waitForDatagrams(1));
    // Only the password is read again: a changed address or port does not move the popup.
    setField(&session.main, "edtIP", QStringLiteral("192.0.2.1"));
    setField(&session.main, "edtPort", QStringLiteral("1"));
    setField(&session.main, "edtrconpassword", QStringLiteral("new pass"));
    QVERIFY(session.server.waitForDatagrams(2, 5000));
    QCOMPARE(session.server.received().value(0), Header + "rcon secret status");
    QCOMPARE(session.server.received().value(1), Header + "rcon new pass status");
}

void TestPlayerListWindow::ticksAreSevenSecondsApart()
{
    Session session;
    QVERIFY(session.connected);
    click(&session.main, "btnNormalPopup");
    QVERIFY(session.server.waitForDatagrams(3, 16000));
    const auto &arrivals = session.server.arrivals();
    for (int i = 1; i < 3; ++i) {
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(arrivals[i] - arrivals[i - 1]);
        QVERIFY2(gap.count() >= 6950 && gap.count() <= 7500, qPrintable(QString::number(gap.count())));
    }
}

void TestPlayerListWindow::answersAreJoinedWithoutSeparator_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QString>("expected");
    QTest::newRow("status answer in three pieces")
        << QList<QByteArray>{FakeServer::printReply("map: oasis\nnum score ping na"),
                             FakeServer::printReply("me\n  0    12   48 ^4Blue^7Fox\n  1 "),
                             FakeServer::printReply("    3   51 Grey\\Owl\n")}
        << QStringLiteral("map: oasis\r\nnum score ping name\r\n  0    12   48 BlueFox\r\n  1     3   51 Grey Owl\r\n");

    // Ten datagrams of a real server's long answer: no line break may appear at the joins.
    const QList<QByteArray> capture = testdata::captureReplies(QStringLiteral("plain-rcon-good-cvarlist.json"));
    QString joined;
    for (const QByteArray &datagram : capture)
        joined += korvane::rcon::cleanReply(korvane::codec::fromWire(datagram));
    QTest::newRow("captured ten-datagram answer") << capture << joined;
}

void TestPlayerListWindow::answersAreJoinedWithoutSeparator()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QString, expected);
    Session session;
    QVERIFY(session.connected);
    session.server.setRconReplies(replies);
    const QString logBefore = session.log();
    click(&session.main, "btnNormalPopup");
    QWidget *popup = ::window("NormalPlayers");
    QVERIFY(QTest::qWaitFor([&] { return listText(popup, "NormalPlayers").size() >= expected.size(); }, 3000));
    QCOMPARE(listText(popup, "NormalPlayers"), expected);
    QCOMPARE(session.log(), logBefore);
}

void TestPlayerListWindow::bothListsOpenTogether()
{
    Session session;
    QVERIFY(session.connected);
    session.server.setRconReplies({FakeServer::printReply("list\n")});
    click(&session.main, "btnNormalPopup");
    click(&session.main, "btnPBPopup");
    QVERIFY(session.server.waitForDatagrams(2));
    QCOMPARE(session.server.received(),
             (QList<QByteArray>{Header + "rcon secret status", Header + "rcon secret pb_sv_plist"}));
    QWidget *normal = ::window("NormalPlayers");
    QWidget *punkBuster = ::window("PBPlayers");
    QVERIFY(normal && punkBuster);
    // Each endpoint gets the answer to its own request only.
    QVERIFY(QTest::qWaitFor([&] { return listText(punkBuster, "PBPlayers") == u"list\r\n"; }, 3000));
    QCOMPARE(listText(normal, "NormalPlayers"), QStringLiteral("list\r\n"));
}

void TestPlayerListWindow::closingStopsTheRequests_data()
{
    QTest::addColumn<bool>("byDisconnect");
    QTest::newRow("closed by the user") << false;
    QTest::newRow("closed by a disconnect") << true;
}

void TestPlayerListWindow::closingStopsTheRequests()
{
    QFETCH(bool, byDisconnect);
    Session session(200);
    QVERIFY(session.connected);
    click(&session.main, "btnNormalPopup");
    click(&session.main, "btnPBPopup");
    QVERIFY(session.server.waitForDatagrams(4, 3000));
    QPointer<QWidget> normal = ::window("NormalPlayers");
    QPointer<QWidget> punkBuster = ::window("PBPlayers");
    QPointer<RconChannel> normalEndpoint = normal->findChild<RconChannel *>(QStringLiteral("SocketNormal"));
    QPointer<RconChannel> pbEndpoint = punkBuster->findChild<RconChannel *>(QStringLiteral("SocketPB"));

    if (byDisconnect) {
        click(&session.main, "btnDisconnect");
    } else {
        normal->close();
        punkBuster->close();
    }
    QCOMPARE(normalEndpoint->state(), RconChannel::Closed);
    QCOMPARE(pbEndpoint->state(), RconChannel::Closed);
    QVERIFY(QTest::qWaitFor([&] { return !normal && !punkBuster && !normalEndpoint && !pbEndpoint; }, 3000));
    session.server.clear();
    // Several refresh intervals pass without a request.
    QTest::qWait(1000);
    QCOMPARE(session.server.received(), QList<QByteArray>{});
}

void TestPlayerListWindow::captionsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("normalTitle");
    QTest::addColumn<QString>("punkBusterTitle");
    QTest::newRow("english") << QStringLiteral("english") << QStringLiteral("Normal Players List Popup")
                             << QStringLiteral("PunkBuster Players List Popup");
    QTest::newRow("german") << QStringLiteral("german") << QStringLiteral("Spielerliste (Popup)")
                            << QStringLiteral("PunkBuster-Spielerliste (Popup)");
}

void TestPlayerListWindow::captionsFollowTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, normalTitle);
    QFETCH(QString, punkBusterTitle);
    Session session(7000, language);
    QVERIFY(session.connected);
    click(&session.main, "btnNormalPopup");
    click(&session.main, "btnPBPopup");
    QWidget *normal = ::window("NormalPlayers");
    QWidget *punkBuster = ::window("PBPlayers");
    QCOMPARE(normal->windowTitle(), normalTitle);
    QCOMPARE(find<QLabel>(normal, "lblNormalPlayers")->text(), normalTitle);
    QCOMPARE(punkBuster->windowTitle(), punkBusterTitle);
    QCOMPARE(find<QLabel>(punkBuster, "lblPBPlayers")->text(), punkBusterTitle);
    // The title label must show its whole text.
    for (const auto *label : {find<QLabel>(normal, "lblNormalPlayers"), find<QLabel>(punkBuster, "lblPBPlayers")})
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
}

QTEST_MAIN(TestPlayerListWindow)
#include "tst_playerlistwindow.moc"
