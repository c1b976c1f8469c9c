// The game play window's endpoint: the campaign names a datagram carries. They hold no blank and no
// line break, and joined with blanks they are the cleaned reply from its fourth piece on.
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"

#include <cstdint>
#include <cstdlib>

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = rcon::fromWire(QByteArrayView(data, static_cast<qsizetype>(size)));
    const QStringList entries = rcon::campaignEntries(text);
    for (const QString &entry : entries) {
        if (entry.contains(u' ') || entry.contains(u'\n'))
            std::abort();
    }
    if (!entries.isEmpty() && !rcon::cleanCampaignReply(text).endsWith(entries.join(u' ')))
        std::abort();
    return 0;
}
