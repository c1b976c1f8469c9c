#include "rcon/serverport.h"

// QStringView's number parsing is defined with QString.
#include <QString>

namespace korvane::rcon {

std::optional<quint16> parsePort(QStringView text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

} // namespace korvane::rcon
