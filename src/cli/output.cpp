#include "cli/output.h"

#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "settings/consoleoutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace korvane::cli {

QString answerText(const QList<QByteArray> &datagrams, bool raw)
{
    QString text;
    for (const QByteArray &datagram : datagrams) {
        if (raw)
            text += rcon::fromWire(rcon::printedPart(datagram));
        else
            text += rcon::cleanReply(rcon::fromWire(datagram));
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString refusal(const QByteArray &datagram)
{
    return QStringLiteral("the server refused the rcon password (%1)").arg(answerText({datagram}, true).trimmed());
}

QString statusTable(const rcon::StatusReply &status)
{
    qsizetype keyWidth = 0;
    for (const auto &[key, value] : status.settings)
        keyWidth = std::max(keyWidth, key.size());
    QString text;
    for (const auto &[key, value] : status.settings)
        text += key.leftJustified(keyWidth + 2) + value + u'\n';
    text += QStringLiteral("\nET server: %1\n").arg(status.etServer ? u"yes" : u"no");
    text += QStringLiteral("players: %1\n").arg(status.players.size());
    if (status.players.isEmpty())
        return text;
    text += QStringLiteral("score   ping  name\n");
    for (const rcon::StatusPlayer &player : status.players)
        text += QString::number(player.score).rightJustified(5) + QString::number(player.ping).rightJustified(7) +
                QStringLiteral("  ") + player.name + u'\n';
    return text;
}

QByteArray statusJson(const rcon::StatusReply &status, const QString &server)
{
    QJsonObject settings;
    for (const auto &[key, value] : status.settings)
        settings.insert(key, value);
    QJsonArray players;
    for (const rcon::StatusPlayer &player : status.players)
        players.append(QJsonObject{{QStringLiteral("score"), player.score},
                                   {QStringLiteral("ping"), player.ping},
                                   {QStringLiteral("name"), player.name},
                                   {QStringLiteral("rawName"), player.rawName}});
    const QJsonObject object{{QStringLiteral("server"), server},
                             {QStringLiteral("etServer"), status.etServer},
                             {QStringLiteral("settings"), settings},
                             {QStringLiteral("players"), players}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void writeLines(std::FILE *stream, const QString &prefix, QStringView text)
{
    if (text.isEmpty())
        return;
    QString out;
    for (const QStringView line : text.split(u'\n')) {
        out += prefix;
        out += line;
        out += u'\n';
    }
    // The text's own final line feed made an empty last piece.
    if (text.endsWith(u'\n'))
        out.chop(prefix.size() + 1);
    settings::writeUtf8(stream, out.toUtf8());
}

void writeError(const QString &server, const QString &what)
{
    const QString prefix =
        server.isEmpty() ? QStringLiteral("korvane-rcon: ") : QStringLiteral("korvane-rcon: %1: ").arg(server);
    writeLines(stderr, prefix, what);
}

} // namespace korvane::cli
