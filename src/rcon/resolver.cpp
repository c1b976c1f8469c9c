#include "rcon/resolver.h"

#include <QHostInfo>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace korvane::rcon {

namespace {

void lookUpHost(const QString &name, QObject *context, std::function<void(const QList<QHostAddress> &)> answer)
{
    QHostInfo::lookupHost(name, context,
                          [answer = std::move(answer)](const QHostInfo &info) { answer(info.addresses()); });
}

// A server reached by name as "localhost" usually listens on 127.0.0.1, not on ::1: the first IPv4
// address of a name, else its first address.
QHostAddress preferred(const QList<QHostAddress> &addresses)
{
    const auto ipv4 = std::find_if(addresses.begin(), addresses.end(),
                                   [](const QHostAddress &a) { return a.protocol() == QAbstractSocket::IPv4Protocol; });
    if (ipv4 != addresses.end())
        return *ipv4;
    return addresses.isEmpty() ? QHostAddress() : addresses.first();
}

} // namespace

Resolver::Resolver(QObject *parent)
    : QObject(parent)
    , m_lookup(lookUpHost)
{
}

Resolver::~Resolver() = default;

QHostAddress Resolver::known(const QString &host) const
{
    QHostAddress literal;
    if (literal.setAddress(host))
        return literal;
    return !host.isEmpty() && host == m_lastName ? m_lastAddress : QHostAddress();
}

void Resolver::resolve(const QString &host, QObject *context, std::function<void(const QHostAddress &)> done)
{
    const QHostAddress address = known(host);
    if (!address.isNull() || host.isEmpty()) {
        done(address);
        return;
    }
    // Whichever comes first, the answer or the time limit, is the one that counts.
    auto pending = std::make_shared<std::function<void(const QHostAddress &)>>(std::move(done));
    QTimer::singleShot(m_timeLimitMs, context, [pending] {
        if (auto finish = std::exchange(*pending, nullptr))
            finish(QHostAddress());
    });
    QPointer<Resolver> self(this);
    m_lookup(host, context, [self, host, pending](const QList<QHostAddress> &addresses) {
        auto finish = std::exchange(*pending, nullptr);
        if (!finish)
            return;
        const QHostAddress found = preferred(addresses);
        if (self && !found.isNull()) {
            self->m_lastName = host;
            self->m_lastAddress = found;
        }
        finish(found);
    });
}

} // namespace korvane::rcon
