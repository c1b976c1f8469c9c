// The answer to the status probe, from the command-line program's status: settings and players taken
// apart. Whatever comes, a reply is recognised exactly when it starts with the header, and the console's
// own ET decision is the parser's.
#include "rcon/statusreply.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"

#include <cstdint>
#include <cstdlib>

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView datagram(data, static_cast<qsizetype>(size));
    const std::optional<rcon::StatusReply> reply = rcon::parseStatusReply(datagram);
    if (reply.has_value() != rcon::isStatusReply(datagram))
        std::abort();
    if (reply && reply->etServer != rcon::namesEtServer(rcon::cleanReply(rcon::fromWire(datagram))))
        std::abort();
    return 0;
}
