// The player list popups against a loopback server: the request on opening and on every tick, the
// answer shown as it comes in pieces, and when the requests stop.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "testenv.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Header(4, '\xFF');

QString shown(const QWidget *root, const char *field)
{
    return answerText(find<QPlainTextEdit>(root, field));
}

void addPopupRows()
{
    QTest::addColumn<QByteArray>("opener");
    QTest::addColumn<QByteArray>("name"); // of the popup and of its list field
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("normal players") << QByteArray("btnNormalPopup") << QByteArray("NormalPlayers")
                                    << QByteArray(" status");
    QTest::newRow("punkbuster players") << QByteArray("btnPBPopup") << QByteArray("PBPlayers")
                                        << QByteArray(" pb_sv_plist");
}

} // namespace

class TestPlayerListWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void asksOnOpeningAndEverySevenSeconds_data() { addPopupRows(); }
    void asksOnOpeningAndEverySevenSeconds();
    void bothTickTogetherUntilClosed_data();
    void bothTickTogetherUntilClosed();
};

void TestPlayerListWindow::asksOnOpeningAndEverySevenSeconds()
{
    QFETCH(QByteArray, opener);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, command);
    ConnectedConsole session(u"english"_s, [](korvane::ui::Environment &env) { env.playerListRefreshMs = 7000; });
    QVERIFY(session.connected);
    click(&session.main, opener.constData());
    QVERIFY(session.server.waitForDatagrams(1));
    QPointer<QWidget> popup = window(name.constData());
    QVERIFY(popup);

    // Opened again, it is only brought forward; the main endpoint's ban list request comes after
    // anything the reopening might have sent.
    session.main.activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &session.main; }, 3000));
    click(&session.main, opener.constData());
    QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == popup; }, 3000));
    QCOMPARE(window(name.constData()), popup.data());
    click(&session.main, "btnBanList");

    // The first tick comes seven seconds after the opening, measured where it arrives.
    QVERIFY(session.server.waitForDatagrams(3, 9000));
    const QByteArray request = Header + "rcon secret" + command;
    QCOMPARE(session.server.received(), (QList<QByteArray>{request, Header + "rcon secret pb_sv_banlist", request}));
    const auto gap = session.server.arrivals()[2] - session.server.arrivals()[0];
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(gap).count();
    QVERIFY2(ms >= 6950 && ms <= 7500, qPrintable(QString::number(ms)));
}

void TestPlayerListWindow::bothTickTogetherUntilClosed_data()
{
    QTest::addColumn<bool>("byDisconnect");
    QTest::newRow("closed by the user") << false;
    QTest::newRow("closed by a disconnect") << true;
}

void TestPlayerListWindow::bothTickTogetherUntilClosed()
{
    QFETCH(bool, byDisconnect);
    ConnectedConsole session(u"english"_s, [](korvane::ui::Environment &env) { env.playerListRefreshMs = 250; });
    QVERIFY(session.connected);
    // Every answer comes in pieces, which are joined as they come.
    session.server.setRconReplies({FakeServer::printReply("map: oasis\nnum score ping na"),
                                   FakeServer::printReply("me\n  0    12   48 ^4Blue^7Fox\n  1 "),
                                   FakeServer::printReply("    3   51 Grey\\Owl\n")});
    const auto list = u"map: oasis\r\nnum score ping name\r\n  0    12   48 BlueFox\r\n  1     3   51 Grey Owl\r\n"_s;
    const QString log = shown(&session.main, "Result");
    click(&session.main, "btnNormalPopup");
    click(&session.main, "btnPBPopup");
    const QList<QByteArray> &got = session.server.received();
    const auto asked = [&got](const QByteArray &request) { return got.count(Header + "rcon " + request); };
    QVERIFY(QTest::qWaitFor([&] { return asked("secret status") >= 3 && asked("secret pb_sv_plist") >= 3; }, 5000));
    QCOMPARE(got.mid(0, 2), (QList<QByteArray>{Header + "rcon secret status", Header + "rcon secret pb_sv_plist"}));
    QCOMPARE(asked("secret status") + asked("secret pb_sv_plist"), got.size());

    // The ticks read the password again, but keep the address and port taken on opening.
    setField(&session.main, "edtIP", u"192.0.2.1"_s);
    setField(&session.main, "edtPort", u"1"_s);
    setField(&session.main, "edtrconpassword", u"new pass"_s);
    QVERIFY(QTest::qWaitFor([&] { return asked("new pass status") && asked("new pass pb_sv_plist"); }, 3000));
    // Every tick empties the list before asking, so each shows the latest answer to its own request only,
    // and the console shows none of them.
    QPointer<QWidget> normal = window("NormalPlayers"), punkBuster = window("PBPlayers");
    QVERIFY(QTest::qWaitFor([&] { return shown(normal, "NormalPlayers") == list; }, 3000));
    QVERIFY(QTest::qWaitFor([&] { return shown(punkBuster, "PBPlayers") == list; }, 3000));
    QCOMPARE(shown(&session.main, "Result"), log);

    if (byDisconnect) {
        click(&session.main, "btnDisconnect");
    } else {
        normal->close();
        punkBuster->close();
    }
    QVERIFY(QTest::qWaitFor([&] { return !normal && !punkBuster; }, 3000));
    session.server.clear();
    QTest::qWait(1000); // several refresh intervals
    QCOMPARE(got, QList<QByteArray>{});
}

QTEST_MAIN(TestPlayerListWindow)
#include "tst_playerlistwindow.moc"
