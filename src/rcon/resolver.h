#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace korvane::rcon {

// Turns the host text of the server fields into the address to talk to, without ever blocking: an
// address is answered at once, a name is looked up in the background, and the last address found is
// remembered for as long as the host text stays the same. A lookup that has not answered within the
// time limit counts as failed.
class Resolver final : public QObject {
    Q_OBJECT

public:
    // Looks up a name and calls back with its addresses (none when unknown), on the thread of the
    // context object, unless that object is gone by then. Tests put their own lookup here.
    using Lookup = std::function<void(const QString &name, QObject *context,
                                      std::function<void(const QList<QHostAddress> &)> answer)>;

    explicit Resolver(QObject *parent = nullptr);
    ~Resolver() override;

    void setLookup(Lookup lookup) { m_lookup = std::move(lookup); }
    void setTimeLimit(int milliseconds) { m_timeLimitMs = milliseconds; }

    // The address of this host text if it is known without asking: an address, or the last name found.
    QHostAddress known(const QString &host) const;
    // Calls done once, with the address or with a null address, unless the context is gone by then.
    // An address, or a name already found, is answered before this returns.
    void resolve(const QString &host, QObject *context, std::function<void(const QHostAddress &)> done);

private:
    Lookup m_lookup;
    int m_timeLimitMs = 5000;
    QString m_lastName;
    QHostAddress m_lastAddress;
};

} // namespace korvane::rcon
