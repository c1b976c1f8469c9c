#pragma once

#include <QStringView>

#include <optional>

namespace korvane::rcon {

// A server's UDP port as a user gives it: a whole number from 1 to 65535, in decimal, blanks around it
// and a leading '+' allowed (as Qt reads numbers); nullopt for anything else.
std::optional<quint16> parsePort(QStringView text);

} // namespace korvane::rcon
