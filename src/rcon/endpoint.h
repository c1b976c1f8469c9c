#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QUdpSocket;

namespace korvane::rcon {

// One UDP endpoint toward the game server. Opening leaves it either open or closed: a host name is
// resolved first (IPv4 addresses before IPv6), so the state is never "looking up" afterwards. Each
// datagram is read whole and handed on by datagramReceived. Errors the socket reports (refused,
// unreachable) are swallowed: the endpoint stays as it is and keeps delivering later datagrams.
class Endpoint final : public QObject {
    Q_OBJECT

public:
    enum State { Closed = 0, Open = 1 };

    // Named after its owner's design ("Socket", "Socket2", ...), so it can be told apart.
    explicit Endpoint(const QString &name, QObject *parent = nullptr);
    ~Endpoint() override;

    void setRemoteHost(const QString &host) { m_host = host; }
    QString remoteHost() const { return m_host; }
    void setRemotePort(quint16 port) { m_port = port; }
    quint16 remotePort() const { return m_port; }

    // Closes any earlier socket first, so an endpoint never holds two.
    void open();
    State state() const;
    void close();

    // One datagram; silently dropped when the endpoint is closed.
    void send(const QByteArray &datagram);

Q_SIGNALS:
    void datagramReceived(const QByteArray &datagram);

private:
    void readPending();

    QString m_host;
    quint16 m_port = 0;
    QUdpSocket *m_socket = nullptr;
};

} // namespace korvane::rcon
