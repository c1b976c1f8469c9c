#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The server's answer to the status probe, taken apart: four 0xFF bytes and "statusResponse" on the
// first line, the settings as backslash-separated keys and values on the second, then one line per
// player: score, ping and the quoted name.
namespace korvane::rcon {

struct StatusPlayer {
    int score = 0;
    int ping = 0;
    QString name;    // colour codes removed, as the console removes them
    QString rawName; // as the server sent it
};

struct StatusReply {
    QList<std::pair<QString, QString>> settings; // in the order the server sent them, repeats kept
    QList<StatusPlayer> players;
    bool etServer = false; // what the console decides from the same datagram
};

// Whether a datagram begins with the status reply's header.
bool isStatusReply(QByteArrayView datagram);

// nullopt when the datagram is not a status reply. Bytes are Windows-1252; lines end in LF or CR LF.
// A key without a value gets the empty value; a player line that is not two whole numbers in int range
// and a quoted name is skipped. Any input is safe: the parser reads only within the datagram and
// allocates in proportion to its size.
std::optional<StatusReply> parseStatusReply(QByteArrayView datagram);

} // namespace korvane::rcon
