#include "rcon/endpoint.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <algorithm>

namespace korvane::rcon {

namespace {

constexpr qint64 MaxDatagramSize = 65536;

// The address to talk to: the host itself when it is an address, else the first IPv4 address of the
// name (a server reached as "localhost" usually listens on 127.0.0.1, not on ::1), else the first.
QHostAddress resolve(const QString &host)
{
    QHostAddress literal;
    if (literal.setAddress(host))
        return literal;
    if (host.isEmpty())
        return {};
    const QList<QHostAddress> addresses = QHostInfo::fromName(host).addresses();
    const auto ipv4 = std::find_if(addresses.begin(), addresses.end(),
                                   [](const QHostAddress &a) { return a.protocol() == QAbstractSocket::IPv4Protocol; });
    if (ipv4 != addresses.end())
        return *ipv4;
    return addresses.isEmpty() ? QHostAddress() : addresses.first();
}

} // namespace

Endpoint::Endpoint(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

Endpoint::~Endpoint() = default;

void Endpoint::open()
{
    close();
    const QHostAddress address = resolve(m_host);
    if (address.isNull() || m_port == 0)
        return;
    m_socket = new QUdpSocket(this);
    connect(m_socket, &QUdpSocket::readyRead, this, &Endpoint::readPending);
    m_socket->connectToHost(address, m_port);
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        close();
}

Endpoint::State Endpoint::state() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState ? Open : Closed;
}

void Endpoint::close()
{
    if (!m_socket)
        return;
    // Deleted later: close() may run inside this socket's own readyRead.
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void Endpoint::send(const QByteArray &datagram)
{
    if (state() == Open)
        m_socket->write(datagram);
}

void Endpoint::readPending()
{
    // Read at least once per readyRead: a pending ICMP error (server down) makes hasPendingDatagrams()
    // false and the pending size unknown, and only a real read clears it; without that read the socket
    // never signals again and the endpoint goes deaf.
    QUdpSocket *socket = m_socket;
    do {
        const qint64 size = socket->pendingDatagramSize();
        const QNetworkDatagram datagram = socket->receiveDatagram(size >= 0 ? size : MaxDatagramSize);
        if (datagram.isValid())
            Q_EMIT datagramReceived(datagram.data());
        // A handler may have closed this endpoint.
        if (socket != m_socket)
            return;
    } while (socket->hasPendingDatagrams());
}

} // namespace korvane::rcon
