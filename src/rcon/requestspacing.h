#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <map>

class QTimer;

namespace korvane::rcon {

class Endpoint;

// An ET 2.60b server drops, without an answer, every rcon request that arrives less than 500 ms after
// the last one it took, from any sender. Requests to one server are kept at least this far apart.
inline constexpr int RequestSpacingMs = 500;

// Keeps the rcon requests to one server address (address and port) at least a set time apart, from
// whichever endpoint they go: a request that comes sooner waits its turn, in order; one that comes later
// leaves at once. Only requests pass here; the status probe goes straight out.
class RequestSpacing final : public QObject {
    Q_OBJECT

public:
    explicit RequestSpacing(QObject *parent = nullptr);
    ~RequestSpacing() override;

    void setSpacing(int milliseconds) { m_spacingMs = milliseconds; }
    int spacing() const { return m_spacingMs; }

    // The request leaves on the open endpoint now, or once its turn comes. Past MaxWaiting requests
    // waiting for one address the new one is dropped: that is half a minute of backlog, which no one
    // clicking makes and only a runaway sender would.
    void send(Endpoint &endpoint, const QByteArray &datagram);
    // What the endpoint still has waiting is dropped: it was closed, and sends nothing more.
    void forget(const Endpoint &endpoint);

    static constexpr qsizetype MaxWaiting = 64;

private:
    using Clock = std::chrono::steady_clock;
    struct Waiting {
        QPointer<Endpoint> endpoint;
        QByteArray datagram;
    };
    struct Destination {
        Clock::time_point last;
        QList<Waiting> waiting;
        QTimer *timer = nullptr;
    };

    Destination &destination(const QString &key);
    void departNext(Destination &destination);

    int m_spacingMs = RequestSpacingMs;
    std::map<QString, Destination> m_destinations;
};

} // namespace korvane::rcon
