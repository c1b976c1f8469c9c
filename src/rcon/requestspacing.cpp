#include "rcon/requestspacing.h"

#include "rcon/endpoint.h"

#include <QTimer>

namespace korvane::rcon {

RequestSpacing::RequestSpacing(QObject *parent)
    : QObject(parent)
{
}

RequestSpacing::~RequestSpacing() = default;

RequestSpacing::Destination &RequestSpacing::destination(const QString &key)
{
    Destination &found = m_destinations[key];
    if (!found.timer) {
        found.timer = new QTimer(this);
        found.timer->setSingleShot(true);
        // A coarse timer may fire early; the spacing is a promise to the server.
        found.timer->setTimerType(Qt::PreciseTimer);
        connect(found.timer, &QTimer::timeout, this, [this, &found] { departNext(found); });
    }
    return found;
}

void RequestSpacing::send(Endpoint &endpoint, const QByteArray &datagram)
{
    Destination &to = destination(endpoint.destination());
    if (!to.waiting.isEmpty()) {
        if (to.waiting.size() < MaxWaiting)
            to.waiting.append({&endpoint, datagram});
        return;
    }
    const auto due = to.last + std::chrono::milliseconds(m_spacingMs);
    if (Clock::now() >= due) {
        endpoint.send(datagram);
        to.last = Clock::now();
        return;
    }
    to.waiting.append({&endpoint, datagram});
    to.timer->start(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count()));
}

void RequestSpacing::forget(const Endpoint &endpoint)
{
    for (auto &[key, to] : m_destinations)
        to.waiting.removeIf([&endpoint](const Waiting &w) { return w.endpoint == &endpoint; });
}

void RequestSpacing::departNext(Destination &to)
{
    // A closed endpoint took its requests back (forget); one deleted meanwhile has nothing to send.
    while (!to.waiting.isEmpty()) {
        const Waiting next = to.waiting.takeFirst();
        if (next.endpoint) {
            next.endpoint->send(next.datagram);
            to.last = Clock::now();
            break;
        }
    }
    if (!to.waiting.isEmpty())
        to.timer->start(m_spacingMs);
}

} // namespace korvane::rcon
