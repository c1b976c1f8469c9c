#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QUdpSocket>

#include "testdata.h"

#include <chrono>

// A stand-in game server on 127.0.0.1: records every datagram it receives, byte for byte and with the
// time it arrived, and answers according to its mode.
class FakeServer final : public QObject {
    Q_OBJECT

public:
    enum class Mode {
        Silent,      // answers nothing
        EtServer,    // answers the status probe like an ET server, rcon requests with a print reply
        PlainServer, // answers the status probe without "version ET"
    };

    explicit FakeServer(Mode mode = Mode::EtServer, QObject *parent = nullptr);

    quint16 port() const { return m_socket.localPort(); }
    QString portText() const { return QString::number(port()); }

    // Replies sent to every rcon request from now on, in order (instead of the default echo).
    void setRconReplies(QList<QByteArray> replies) { m_rconReplies = std::move(replies); }

    // Sends a datagram to the peer the last request came from.
    void sendToClient(const QByteArray &datagram);

    const QList<QByteArray> &received() const { return m_received; }
    const QList<std::chrono::steady_clock::time_point> &arrivals() const { return m_arrivals; }
    void clear();

    // Processes events until `count` datagrams in all have arrived, or the time is up.
    bool waitForDatagrams(int count, int timeoutMs = 3000);

    static QByteArray printReply(const QByteArray &text);
    // Captured from a real server reporting "ET 2.60b", or from one of another game.
    static QByteArray statusReply(Mode mode);

private:
    void readPending();

    Mode m_mode;
    QUdpSocket m_socket;
    QHostAddress m_peer;
    quint16 m_peerPort = 0;
    QList<QByteArray> m_received;
    QList<std::chrono::steady_clock::time_point> m_arrivals;
    QList<QByteArray> m_rconReplies;
};
