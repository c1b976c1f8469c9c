// A datagram as it reaches an endpoint, from the server or from whoever sends to its port: decoded,
// cleaned in every variant and looked at by the ET check. Every byte string comes back whole through
// the codec, and the main cleaning matches its plain statement, one replace-all after the other.
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"

#include <cstdint>
#include <cstdlib>

using namespace korvane;

namespace {

const char ColourCodes[] = "1234567890!@$%&*()aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ";

QString plainCleanReply(QString text)
{
    text.remove(QString(4, QChar(0xFF)) + QStringLiteral("print\n"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    text.replace(QStringLiteral("\\"), QStringLiteral(" "));
    for (const char *code = ColourCodes; *code; ++code)
        text.remove(QLatin1Char('^') + QLatin1Char(*code));
    return text;
}

void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView datagram(data, static_cast<qsizetype>(size));
    const QString text = rcon::fromWire(datagram);
    check(text.size() == datagram.size());
    check(rcon::toWire(text) == datagram);

    const QString cleaned = rcon::cleanReply(text);
    check(cleaned == plainCleanReply(text));
    (void)rcon::namesEtServer(cleaned);
    (void)rcon::cleanCheatersReply(text);
    check(!rcon::cleanCampaignReply(text).contains(u'\n'));
    return 0;
}
