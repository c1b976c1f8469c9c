#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The out-of-band datagrams of the game server's remote console, and the cleaning that turns a
// received datagram into display text. Pure functions: no socket, no widget.
namespace korvane::rcon {

// What opens every out-of-band datagram, and what opens a printed answer in particular.
inline constexpr QByteArrayView OutOfBandHeader("\xFF\xFF\xFF\xFF");
inline constexpr QByteArrayView PrintHeader("\xFF\xFF\xFF\xFFprint\n");

// A printed answer's text as it was sent, after its header; any other datagram as it stands.
QByteArrayView printedPart(QByteArrayView datagram);

// Whether a datagram is the server's refusal of an rcon request's password: a printed answer that says
// only "Bad rconpassword.", "Invalid password." or "No rconpassword set on the server." (white space
// around it ignored, the full stop optional). One quoted inside a longer answer is not a refusal.
bool refusesPassword(QByteArrayView datagram);

// Four 0xFF bytes, "rcon ", the password, the command literal (which begins with a blank) and the
// parameter, joined as they stand; nothing is appended.
QByteArray request(QStringView password, QStringView literal, QStringView parameter = {});

// The 13-byte status probe: four 0xFF bytes and "getstatus".
QByteArray statusProbe();

// Print header removed, line feeds as CR LF, backslashes as blanks, colour codes removed.
QString cleanReply(QStringView received);

// The cheaters list's cleaning: a server that does not know the command is reported in one sentence.
QString cleanCheatersReply(QStringView received);

// The campaign list's cleaning: one line without line breaks, colour codes removed, backslashes kept.
QString cleanCampaignReply(QStringView received);

// The campaign names a reply datagram carries: its blank-separated pieces from the fourth on, empty
// pieces included.
QStringList campaignEntries(QStringView received);

// Whether a cleaned status reply names an ET server.
bool namesEtServer(QStringView cleaned);

} // namespace korvane::rcon
