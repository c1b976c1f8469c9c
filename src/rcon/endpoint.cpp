#include "rcon/endpoint.h"

#include "rcon/requestspacing.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace korvane::rcon {

namespace {

constexpr qint64 MaxDatagramSize = 65536;
// What one turn of the event loop reads at most; the rest waits for the next turn, so that a flood
// leaves room for painting, input and timers in between. The kernel's default receive buffer holds
// about 250 small datagrams or three of the largest.
constexpr int BatchDatagrams = 32;
constexpr qint64 BatchBytes = 1024 * 1024;
// Handling a hostile datagram can take milliseconds (every colour code of 65 KB removed, one pass
// each): a batch also ends once this much time has gone.
constexpr qint64 BatchNs = 8'000'000;
// Requests held while an address is looked up: a window sends one or two; more is a flood.
constexpr qsizetype MaxHeld = 64;

} // namespace

Endpoint::Endpoint(const QString &name, QObject *parent)
    : QObject(parent)
    , m_moreToRead(new QTimer(this))
{
    setObjectName(name);
    m_moreToRead->setSingleShot(true);
    m_moreToRead->setInterval(0);
    connect(m_moreToRead, &QTimer::timeout, this, &Endpoint::readPending);
}

Endpoint::~Endpoint() = default;

void Endpoint::open(const QHostAddress &address, quint16 port)
{
    const QList<Held> held = std::exchange(m_held, {});
    close();
    if (address.isNull() || port == 0)
        return;
    m_address = address;
    m_port = port;
    if (!openSocket()) {
        close();
        return;
    }
    for (const Held &datagram : held) {
        if (datagram.request)
            sendRequest(datagram.datagram);
        else
            send(datagram.datagram);
    }
}

Endpoint::State Endpoint::state() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState ? Open : Closed;
}

void Endpoint::close()
{
    ++m_ticket;
    m_awaiting = false;
    m_held.clear();
    if (m_spacing)
        m_spacing->forget(*this);
    dropSocket();
}

bool Endpoint::openSocket()
{
    dropSocket();
    m_socket = new QUdpSocket(this);
    connect(m_socket, &QUdpSocket::readyRead, this, [this] {
        // Between two batches of a flood the rest waits for the timer: reading it at once would hand
        // the event loop straight back to the socket. On Windows a read that leaves datagrams behind
        // signals the next one ahead of painting and of queued events, so a flood would shut them out.
        if (!m_moreToRead->isActive())
            readPending();
    });
    m_socket->connectToHost(m_address, m_port);
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void Endpoint::dropSocket()
{
    m_moreToRead->stop(); // the rest of a burst goes with the socket
    if (!m_socket)
        return;
    // Deleted later: this may run inside the socket's own readyRead.
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

quint64 Endpoint::awaitAddress()
{
    close();
    m_awaiting = true;
    return m_ticket;
}

void Endpoint::openAwaited(quint64 ticket, const QHostAddress &address, quint16 port)
{
    if (m_awaiting && ticket == m_ticket)
        open(address, port);
}

void Endpoint::send(const QByteArray &datagram)
{
    if (state() == Open) {
        if (m_socket->write(datagram) != datagram.size())
            sendAgain(datagram);
    } else if (m_awaiting && m_held.size() < MaxHeld) {
        m_held.append({datagram, false});
    }
}

void Endpoint::sendAgain(const QByteArray &datagram)
{
    // A refusal (ICMP port unreachable) of an earlier datagram that no read has collected yet fails the
    // next write instead, and that datagram is not sent, though the server may be back by now. It goes
    // out again on a new socket toward the same server: Windows closes a socket whose write met a
    // refusal, and Wine stops signalling datagrams that arrive on it later. What waits its turn to
    // this server stays waiting.
    if (openSocket())
        m_socket->write(datagram);
    else
        close();
}

void Endpoint::sendRequest(const QByteArray &datagram)
{
    if (state() == Open && m_spacing)
        m_spacing->send(*this, datagram);
    else if (state() == Open)
        send(datagram);
    else if (m_awaiting && m_held.size() < MaxHeld)
        m_held.append({datagram, true});
}

QString Endpoint::destination() const
{
    return state() == Open ? m_socket->peerAddress().toString() + u' ' + QString::number(m_socket->peerPort())
                           : QString();
}

void Endpoint::readPending()
{
    // Read at least once per readyRead: a pending ICMP error (server down) makes hasPendingDatagrams()
    // false and the pending size unknown, and only a real read clears it; without that read the socket
    // never signals again and the endpoint goes deaf.
    QUdpSocket *socket = m_socket;
    if (!socket)
        return;
    int datagrams = 0;
    qint64 bytes = 0;
    QElapsedTimer clock;
    clock.start();
    do {
        const qint64 size = socket->pendingDatagramSize();
        const QNetworkDatagram datagram = socket->receiveDatagram(size >= 0 ? size : MaxDatagramSize);
        ++datagrams;
        bytes += datagram.data().size();
        if (datagram.isValid())
            Q_EMIT datagramReceived(datagram.data());
        // A handler may have closed this endpoint.
        if (socket != m_socket)
            return;
    } while (socket->hasPendingDatagrams() && datagrams < BatchDatagrams && bytes < BatchBytes &&
             clock.nsecsElapsed() < BatchNs);
    if (socket->hasPendingDatagrams())
        m_moreToRead->start();
}

} // namespace korvane::rcon
