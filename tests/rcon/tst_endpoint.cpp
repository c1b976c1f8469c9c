#include "fakeserver.h"
#include "rcon/endpoint.h"
#include "rcon/wireformat.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>

using korvane::rcon::Endpoint;

class TestEndpoint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensToAddressOrName_data();
    void opensToAddressOrName();
    void unresolvableNameStaysClosed();
    void readsEveryDatagramWhole();
    void hearsAgainAfterServerWasDown();
    void closedEndpointSendsNothing();
    void reopeningKeepsOneSocket();
};

void TestEndpoint::opensToAddressOrName_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("address") << QStringLiteral("127.0.0.1");
    QTest::newRow("localhost prefers IPv4") << QStringLiteral("localhost");
}

void TestEndpoint::opensToAddressOrName()
{
    QFETCH(QString, host);
    FakeServer server(FakeServer::Mode::Silent);
    Endpoint channel(QStringLiteral("Socket"));
    channel.setRemoteHost(host);
    channel.setRemotePort(server.port());
    channel.open();
    // Open when open() returns: no lookup left for the event loop.
    QCOMPARE(channel.state(), Endpoint::Open);
    channel.send(korvane::rcon::request(u"pw", u" status"));
    QVERIFY(server.waitForDatagrams(1));
    QCOMPARE(server.received().constFirst(), QByteArray(4, '\xFF') + "rcon pw status");
}

void TestEndpoint::unresolvableNameStaysClosed()
{
    Endpoint channel(QStringLiteral("Socket"));
    channel.setRemoteHost(QStringLiteral("no-such-host.invalid"));
    channel.setRemotePort(27960);
    channel.open();
    QCOMPARE(channel.state(), Endpoint::Closed);
    channel.setRemoteHost(QString());
    channel.open();
    QCOMPARE(channel.state(), Endpoint::Closed);
}

void TestEndpoint::readsEveryDatagramWhole()
{
    FakeServer server(FakeServer::Mode::Silent);
    Endpoint channel(QStringLiteral("Socket"));
    QSignalSpy spy(&channel, &Endpoint::datagramReceived);
    channel.setRemoteHost(QStringLiteral("127.0.0.1"));
    channel.setRemotePort(server.port());
    channel.open();
    channel.send("hello");
    QVERIFY(server.waitForDatagrams(1));
    const QList<QByteArray> sent = {QByteArray(60000, 'x'), QByteArray(), FakeServer::printReply("a\nb"),
                                    QByteArray("\0\xFF\x01", 3)};
    for (const QByteArray &datagram : sent)
        server.sendToClient(datagram);
    QVERIFY(QTest::qWaitFor([&] { return spy.size() >= sent.size(); }, 3000));
    for (int i = 0; i < sent.size(); ++i)
        QCOMPARE(spy.at(i).at(0).toByteArray(), sent.at(i));
}

void TestEndpoint::hearsAgainAfterServerWasDown()
{
    auto server = std::make_unique<FakeServer>(FakeServer::Mode::Silent);
    const quint16 port = server->port();
    Endpoint channel(QStringLiteral("Socket"));
    QSignalSpy spy(&channel, &Endpoint::datagramReceived);
    channel.setRemoteHost(QStringLiteral("127.0.0.1"));
    channel.setRemotePort(port);
    channel.open();

    // Nobody listens: each send earns an ICMP port-unreachable.
    server.reset();
    for (int i = 0; i < 3; ++i) {
        channel.send("ping");
        QTest::qWait(50);
    }
    QCOMPARE(channel.state(), Endpoint::Open);
    QCOMPARE(spy.size(), 0);

    // The server comes back on the same port and answers: the endpoint must still hear it.
    QUdpSocket back;
    QVERIFY(back.bind(QHostAddress::LocalHost, port));
    channel.send("again");
    QVERIFY(QTest::qWaitFor([&] { return back.hasPendingDatagrams(); }, 3000));
    const QNetworkDatagram request = back.receiveDatagram();
    QCOMPARE(request.data(), QByteArray("again"));
    back.writeDatagram("reply", request.senderAddress(), static_cast<quint16>(request.senderPort()));
    QVERIFY(QTest::qWaitFor([&] { return spy.size() == 1; }, 3000));
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("reply"));
}

void TestEndpoint::closedEndpointSendsNothing()
{
    FakeServer server(FakeServer::Mode::Silent);
    Endpoint channel(QStringLiteral("Socket"));
    channel.setRemoteHost(QStringLiteral("127.0.0.1"));
    channel.setRemotePort(server.port());
    channel.send("before open");
    channel.open();
    channel.close();
    QCOMPARE(channel.state(), Endpoint::Closed);
    channel.send("after close");
    QTest::qWait(100);
    QVERIFY(server.received().isEmpty());
}

void TestEndpoint::reopeningKeepsOneSocket()
{
    FakeServer server(FakeServer::Mode::Silent);
    Endpoint channel(QStringLiteral("Socket"));
    channel.setRemoteHost(QStringLiteral("127.0.0.1"));
    channel.setRemotePort(server.port());
    for (int i = 0; i < 5; ++i)
        channel.open();
    QTest::qWait(10); // let the replaced sockets be deleted
    QCOMPARE(channel.findChildren<QUdpSocket *>().size(), 1);
    channel.send("once");
    QVERIFY(server.waitForDatagrams(1));
    QTest::qWait(50);
    QCOMPARE(server.received().size(), 1);
}

QTEST_GUILESS_MAIN(TestEndpoint)
#include "tst_endpoint.moc"
