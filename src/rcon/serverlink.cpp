#include "rcon/serverlink.h"

#include "rcon/wireformat.h"

namespace korvane::rcon {

ServerLink::ServerLink(std::function<Server()> server, QObject *parent)
    : QObject(parent)
    , m_server(std::move(server))
    , m_spacing(this)
    , m_resolver(this)
    , m_endpoint(QStringLiteral("Socket"), this)
{
    m_endpoint.setSpacing(&m_spacing);
}

ServerLink::~ServerLink() = default;

void ServerLink::send(QStringView literal, QStringView parameter)
{
    send(m_endpoint, literal, parameter);
}

void ServerLink::send(Endpoint &endpoint, QStringView literal, QStringView parameter) const
{
    endpoint.sendRequest(request(m_server().password, literal, parameter));
}

void ServerLink::open(Endpoint &endpoint)
{
    const Server server = m_server();
    endpoint.setSpacing(&m_spacing);
    const quint64 ticket = endpoint.awaitAddress();
    m_resolver.resolve(server.host, &endpoint, [&endpoint, ticket, port = server.port](const QHostAddress &address) {
        endpoint.openAwaited(ticket, address, port);
    });
}

} // namespace korvane::rcon
