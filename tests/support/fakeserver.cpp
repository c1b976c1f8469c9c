#include "fakeserver.h"

#include <QNetworkDatagram>
#include <QTest>

FakeServer::FakeServer(Mode mode, QObject *parent)
    : QObject(parent)
    , m_mode(mode)
{
    const bool bound = m_socket.bind(QHostAddress::LocalHost, 0);
    Q_ASSERT(bound);
    connect(&m_socket, &QUdpSocket::readyRead, this, &FakeServer::readPending);
}

void FakeServer::clear()
{
    m_received.clear();
    m_arrivals.clear();
}

bool FakeServer::waitForDatagrams(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_received.size() >= count; }, timeoutMs);
}

void FakeServer::sendToClient(const QByteArray &datagram)
{
    m_socket.writeDatagram(datagram, m_peer, m_peerPort);
}

QByteArray FakeServer::printReply(const QByteArray &text)
{
    return QByteArray(4, '\xFF') + "print\n" + text;
}

QByteArray FakeServer::statusReply(Mode mode)
{
    return testdata::captureReply(mode == Mode::EtServer ? u"et-getstatus.json"_s : u"plain-getstatus.json"_s);
}

void FakeServer::readPending()
{
    do {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (!datagram.isValid())
            continue;
        m_received.append(datagram.data());
        m_arrivals.append(std::chrono::steady_clock::now());
        m_peer = datagram.senderAddress();
        m_peerPort = static_cast<quint16>(datagram.senderPort());
        if (m_mode == Mode::Silent)
            continue;
        if (datagram.data() == QByteArray(4, '\xFF') + "getstatus") {
            sendToClient(statusReply(m_mode));
        } else if (!m_rconReplies.isEmpty()) {
            for (const QByteArray &reply : std::as_const(m_rconReplies))
                sendToClient(reply);
        }
    } while (m_socket.hasPendingDatagrams());
}
