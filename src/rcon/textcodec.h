#pragma once

#include <QByteArray>
#include <QString>

// Text <-> bytes through Windows-1252, the code page of the game servers, the settings and the
// language files. Decoding maps every byte to one character (the five bytes Windows-1252 leaves
// undefined map to the control characters of the same number), so every byte received and shown
// goes back out as the same byte. A character Windows-1252 cannot hold is encoded as '?'.
namespace korvane::rcon {

QByteArray toWire(QStringView text);
QString fromWire(QByteArrayView bytes);

} // namespace korvane::rcon
