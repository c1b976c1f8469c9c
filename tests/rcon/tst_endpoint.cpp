#include "fakeserver.h"
#include "rcon/serverlink.h"
#include "rcon/wireformat.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

using korvane::rcon::Endpoint;
using korvane::rcon::Server;
using korvane::rcon::ServerLink;

namespace {

const QHostAddress Loopback(QHostAddress::LocalHost);

// An endpoint open toward a silent loopback peer that has heard from it, so the peer can answer.
struct Opened {
    Opened()
    {
        endpoint.open(Loopback, server.port());
        endpoint.send("hello");
        QVERIFY(server.waitForDatagrams(1));
    }
    FakeServer server{FakeServer::Mode::Silent};
    Endpoint endpoint{u"Socket"_s};
};

} // namespace

class TestEndpoint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The request goes out once the address is known, whether it was one or a name looked up meanwhile.
    void linkOpensByAddressOrName_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("arrives");
        QTest::newRow("address") << u"127.0.0.1"_s << true;
        QTest::newRow("localhost prefers IPv4") << u"localhost"_s << true;
        QTest::newRow("unknown name") << u"no-such-host.invalid"_s << false;
    }

    void linkOpensByAddressOrName()
    {
        QFETCH(QString, host);
        QFETCH(bool, arrives);
        FakeServer server(FakeServer::Mode::Silent);
        ServerLink link([&] { return Server{host, server.port(), u"pw"_s}; }); // as the console's fields give it
        Endpoint endpoint(u"Socket2"_s);
        link.open(endpoint);
        link.send(endpoint, u" status");
        QCOMPARE(server.waitForDatagrams(1, arrives ? 5000 : 1000), arrives);
        if (arrives) {
            QCOMPARE(server.received().constFirst(), QByteArray(4, '\xFF') + "rcon pw status");
            // The name found is reused while the host text stays: the next endpoint opens at once.
            Endpoint next(u"Socket3"_s);
            link.open(next);
            QCOMPARE(next.state(), Endpoint::Open);
        }
        QCOMPARE(endpoint.state(), arrives ? Endpoint::Open : Endpoint::Closed);
    }

    // A burst far bigger than one batch, of any datagrams: every one whole and in order, and a timer due meanwhile
    // runs before the last of them is handed on.
    void floodIsReadWholeInOrderWithTurnsBetween()
    {
        Opened opened;
        QList<QByteArray> sent = {QByteArray(60000, 'x'), QByteArray(), QByteArray("\0\xFF\x01", 3)};
        for (int i = 0; i < 150; ++i)
            sent.append(QByteArray::number(i));
        for (const QByteArray &datagram : sent)
            opened.server.sendToClient(datagram);
        QList<QByteArray> received;
        qsizetype receivedWhenTimerRan = -1;
        connect(&opened.endpoint, &Endpoint::datagramReceived, this, [&](const QByteArray &datagram) {
            if (received.isEmpty())
                QTimer::singleShot(0, this, [&] { receivedWhenTimerRan = received.size(); });
            received.append(datagram);
        });
        QVERIFY(QTest::qWaitFor([&] { return received.size() == sent.size(); }, 5000));
        QCOMPARE(received, sent);
        QVERIFY2(receivedWhenTimerRan > 0 && receivedWhenTimerRan < sent.size(),
                 qPrintable(QString::number(receivedWhenTimerRan)));
    }

    // Closed between two batches of a burst, by a timer as a window's close would be: nothing more is
    // handed on, and the rest of the burst is not read from a socket that is gone.
    void closingInTheMiddleOfABurstEndsIt()
    {
        Opened opened;
        QSignalSpy spy(&opened.endpoint, &Endpoint::datagramReceived);
        connect(&opened.endpoint, &Endpoint::datagramReceived, this, [&] {
            if (spy.size() == 1)
                QTimer::singleShot(0, &opened.endpoint, &Endpoint::close);
        });
        for (int i = 0; i < 200; ++i)
            opened.server.sendToClient("x");
        QVERIFY(QTest::qWaitFor([&] { return opened.endpoint.state() == Endpoint::Closed; }, 3000));
        const qsizetype delivered = spy.size();
        QTest::qWait(50);
        QCOMPARE(spy.size(), delivered);
        QVERIFY(delivered < 200);
    }

    // A server that was down is heard again once it is back: at the endpoint's next request, which meets the
    // refusal of an earlier one, and when it speaks first after a refusal that came while nothing was sent.
    void hearsAgainAfterServerWasDown()
    {
        auto server = std::make_unique<FakeServer>(FakeServer::Mode::Silent);
        const quint16 port = server->port();
        Endpoint endpoint(u"Socket"_s);
        QSignalSpy spy(&endpoint, &Endpoint::datagramReceived);
        endpoint.open(Loopback, port);

        // Nobody listens: each send earns an ICMP port-unreachable. The last one is not read before the
        // next send, so that send meets the refusal.
        server.reset();
        for (int i = 0; i < 3; ++i) {
            endpoint.send("ping");
            QTest::qWait(50);
        }
        endpoint.send("ping");
        QThread::msleep(50);
        QCOMPARE(spy.size(), 0);

        auto back = std::make_unique<QUdpSocket>();
        QVERIFY(back->bind(QHostAddress::LocalHost, port));
        endpoint.send("again");
        QCOMPARE(endpoint.state(), Endpoint::Open);
        QVERIFY(QTest::qWaitFor([&] { return back->hasPendingDatagrams(); }, 3000));
        const QNetworkDatagram request = back->receiveDatagram();
        QCOMPARE(request.data(), QByteArray("again"));
        back->writeDatagram("reply", request.senderAddress(), static_cast<quint16>(request.senderPort()));
        QVERIFY(QTest::qWaitFor([&] { return spy.size() == 1; }, 3000));
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("reply"));

#ifdef Q_OS_WIN
        QSKIP("On Windows a refusal ends the socket's reading (Wine stops signalling after it): the endpoint "
              "recovers at its next send, as above");
#endif
        back.reset();
        endpoint.send("ping"); // refused
        QTest::qWait(100);
        back = std::make_unique<QUdpSocket>();
        QVERIFY(back->bind(QHostAddress::LocalHost, port));
        back->writeDatagram("first", QHostAddress::LocalHost, static_cast<quint16>(request.senderPort()));
        QVERIFY(QTest::qWaitFor([&] { return spy.size() == 2; }, 3000));
    }

    // Nothing goes out before opening (unless an address is awaited), after closing, or for a ticket that
    // a close made worthless; reopening keeps one socket.
    void closedEndpointSendsNothing()
    {
        FakeServer server(FakeServer::Mode::Silent);
        Endpoint endpoint(u"Socket"_s);
        endpoint.send("before open");
        const quint64 stale = endpoint.awaitAddress();
        endpoint.send("held, then dropped by close");
        endpoint.close();
        endpoint.openAwaited(stale, Loopback, server.port());
        QCOMPARE(endpoint.state(), Endpoint::Closed);
        const quint64 ticket = endpoint.awaitAddress();
        endpoint.send("held");
        endpoint.openAwaited(ticket, Loopback, server.port());
        for (int i = 0; i < 5; ++i)
            endpoint.open(Loopback, server.port());
        endpoint.send("once");
        endpoint.close();
        endpoint.send("after close");
        QTest::qWait(100);
        QCOMPARE(server.received(), QList<QByteArray>({"held", "once"}));
        QVERIFY(endpoint.findChildren<QUdpSocket *>().size() <= 1);
    }
};

QTEST_GUILESS_MAIN(TestEndpoint)
#include "tst_endpoint.moc"
