#include "rcon/statusreply.h"

#include "rcon/textcodec.h"
#include "rcon/wireformat.h"

namespace korvane::rcon {

namespace {

// What opens a status reply: the out-of-band header, then "statusResponse".
const QByteArray StatusHeader = OutOfBandHeader.toByteArray() + "statusResponse";

QList<std::pair<QString, QString>> parseSettings(QStringView line)
{
    QList<std::pair<QString, QString>> settings;
    // The line starts with a backslash: the piece before it is empty and not a key.
    QList<QStringView> pieces = line.split(u'\\');
    if (!pieces.isEmpty() && pieces.constFirst().isEmpty())
        pieces.removeFirst();
    for (qsizetype i = 0; i < pieces.size(); i += 2)
        settings.append({pieces.at(i).toString(), i + 1 < pieces.size() ? pieces.at(i + 1).toString() : QString()});
    return settings;
}

// `score ping "name"`; the name runs from the first double quote to the last one.
std::optional<StatusPlayer> parsePlayer(QStringView line)
{
    const qsizetype open = line.indexOf(u'"');
    const qsizetype close = line.lastIndexOf(u'"');
    if (open < 0 || close <= open)
        return std::nullopt;
    const QList<QStringView> numbers = line.left(open).trimmed().split(u' ', Qt::SkipEmptyParts);
    if (numbers.size() != 2)
        return std::nullopt;
    bool scoreOk = false;
    bool pingOk = false;
    StatusPlayer player;
    // toInt refuses what does not fit an int instead of wrapping.
    player.score = numbers.at(0).toInt(&scoreOk);
    player.ping = numbers.at(1).toInt(&pingOk);
    if (!scoreOk || !pingOk)
        return std::nullopt;
    player.rawName = line.sliced(open + 1, close - open - 1).toString();
    player.name = cleanReply(player.rawName);
    return player;
}

} // namespace

bool isStatusReply(QByteArrayView datagram)
{
    return datagram.startsWith(StatusHeader);
}

std::optional<StatusReply> parseStatusReply(QByteArrayView datagram)
{
    if (!isStatusReply(datagram))
        return std::nullopt;
    const QString text = fromWire(datagram);
    StatusReply reply;
    reply.etServer = namesEtServer(cleanReply(text));
    QList<QStringView> lines = QStringView(text).split(u'\n');
    for (QStringView &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (lines.size() > 1)
        reply.settings = parseSettings(lines.at(1));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (const std::optional<StatusPlayer> player = parsePlayer(lines.at(i)))
            reply.players.append(*player);
    }
    return reply;
}

} // namespace korvane::rcon
