#pragma once

#include <QHostAddress>
#include <QTest>
#include <QUdpSocket>

#include <chrono>

// A game server on 127.0.0.1 recording every datagram and its arrival; it answers the status probe, and rcon requests.
class FakeServer final : public QObject {
    Q_OBJECT

public:
    enum class Mode { Silent, EtServer, PlainServer };
    explicit FakeServer(Mode mode = Mode::EtServer);
    quint16 port() const { return m_socket.localPort(); }
    void setRconReplies(QList<QByteArray> replies) { m_rconReplies = std::move(replies); }
    // To the peer the last datagram came from.
    void sendToClient(const QByteArray &datagram) { m_socket.writeDatagram(datagram, m_peer, m_peerPort); }
    const QList<QByteArray> &received() const { return m_received; }
    const QList<std::chrono::steady_clock::time_point> &arrivals() const { return m_arrivals; }
    void clear() { m_received.clear(), m_arrivals.clear(); }
    static QByteArray printReply(const QByteArray &text) { return QByteArray(4, '\xFF') + "print\n" + text; }
    static QByteArray statusReply(Mode mode); // captured from a real server: ET 2.60b, or another game's

private:
    Mode m_mode;
    QUdpSocket m_socket;
    QHostAddress m_peer;
    quint16 m_peerPort = 0;
    QList<QByteArray> m_received, m_rconReplies;
    QList<std::chrono::steady_clock::time_point> m_arrivals;
};

namespace testdata {
// A data column "row" of indexes into a table whose entries begin with their row name; the current entry.
template <typename Table> void addRows(const Table &table)
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(table)); ++i)
        QTest::newRow(table[i].name) << i;
}
template <typename Table> const auto &current(const Table &table)
{
    return table[*static_cast<int *>(QTest::qData("row", qMetaTypeId<int>()))];
}
// The reply datagrams of a capture from a real server (tests/data/captures), byte for byte.
QList<QByteArray> captureReplies(const QString &file);
QByteArray bytesOrMissing(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
} // namespace testdata
