#pragma once

#include "rcon/endpoint.h"
#include "rcon/requestspacing.h"
#include "rcon/resolver.h"

#include <QString>

#include <functional>

namespace korvane::rcon {

// The one server the program talks to, as the console's fields hold it at this moment.
struct Server {
    QString host;
    quint16 port = 0; // 0 when the port is not a whole number from 1 to 65535
    QString password;
};

// Every request of every window goes through here. The link holds the main endpoint ("Socket"),
// whose answers go to the console log; windows with an endpoint of their own open it here too. Host,
// port and password are read through the given function at each call, never remembered: the
// password of a request is the one of the moment it is sent.
class ServerLink final : public QObject {
    Q_OBJECT

public:
    explicit ServerLink(std::function<Server()> server, QObject *parent = nullptr);
    ~ServerLink() override;

    Server server() const { return m_server(); }
    Endpoint &endpoint() { return m_endpoint; }
    Resolver &resolver() { return m_resolver; }
    // Shared by every endpoint opened here: the requests of all windows to one server keep their distance.
    RequestSpacing &spacing() { return m_spacing; }

    // An rcon request: the literal, then the parameter exactly as given.
    void send(QStringView literal, QStringView parameter = {});
    void send(Endpoint &endpoint, QStringView literal, QStringView parameter = {}) const;
    // Points the endpoint at the server of this moment and opens it: at once when the address is known
    // (an address, or the name found at Connect), else when the lookup answers; what is sent meanwhile
    // waits for it.
    void open(Endpoint &endpoint);

private:
    std::function<Server()> m_server;
    RequestSpacing m_spacing;
    Resolver m_resolver;
    Endpoint m_endpoint;
};

} // namespace korvane::rcon
