#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QTimer;
class QUdpSocket;

namespace korvane::rcon {

class RequestSpacing;

// One UDP endpoint toward the game server, either open or closed. Each datagram is read whole and
// handed on by datagramReceived, in the order of arrival; a flood is read in bounded batches, one per
// turn of the event loop, so the program keeps painting and ticking meanwhile. Errors the socket
// reports (refused, unreachable) are swallowed: the endpoint stays as it is and keeps delivering later
// datagrams.
class Endpoint final : public QObject {
    Q_OBJECT

public:
    enum State { Closed = 0, Open = 1 };

    // Named after its owner's design ("Socket", "Socket2", ...), so it can be told apart.
    explicit Endpoint(const QString &name, QObject *parent = nullptr);
    ~Endpoint() override;

    // Closes any earlier socket first, so an endpoint never holds two. A null address leaves it closed.
    void open(const QHostAddress &address, quint16 port);
    State state() const;
    // Closes the socket, and forgets the datagrams held for an address that is still being looked up.
    void close();

    // While the server's name is looked up the endpoint is closed, but what is sent meanwhile is held
    // and goes out, in order, if open() follows with the ticket returned here; a later close() or
    // awaitAddress() makes the ticket worthless.
    quint64 awaitAddress();
    void openAwaited(quint64 ticket, const QHostAddress &address, quint16 port);

    // One datagram; silently dropped when the endpoint is closed and not awaiting its address.
    void send(const QByteArray &datagram);
    // An rcon request: as send(), but it leaves when the spacing given here lets it.
    void sendRequest(const QByteArray &datagram);
    void setSpacing(RequestSpacing *spacing) { m_spacing = spacing; }
    // The address and port it is open toward, as one text; empty when closed.
    QString destination() const;

Q_SIGNALS:
    void datagramReceived(const QByteArray &datagram);

private:
    // On readyRead, and again on the next turn of the event loop while datagrams are left.
    void readPending();

    // A new socket toward m_address and m_port in place of any other; false when it cannot connect.
    bool openSocket();
    // Closes and lets go of the socket, and only that.
    void dropSocket();
    // After a write that failed: once more, on a new socket.
    void sendAgain(const QByteArray &datagram);

    QUdpSocket *m_socket = nullptr;
    // Where the socket was opened to, so that it can be opened anew.
    QHostAddress m_address;
    quint16 m_port = 0;
    QTimer *m_moreToRead;
    quint64 m_ticket = 0;
    bool m_awaiting = false;
    struct Held {
        QByteArray datagram;
        bool request;
    };
    QList<Held> m_held;
    QPointer<RequestSpacing> m_spacing;
};

} // namespace korvane::rcon
