#include "rcon/wireformat.h"

#include "rcon/textcodec.h"

#include <algorithm>
#include <array>

namespace korvane::rcon {

namespace {

// The print header as the cleanings see it, in decoded text: anywhere in a reply, not only at its start.
const QString PrintHeaderText = fromWire(PrintHeader);

// What servers of this family print, instead of running an rcon request, when its password is wrong or
// the server has none set.
const std::array<QString, 3> Refusals = {
    QStringLiteral("Bad rconpassword"),
    QStringLiteral("Invalid password"),
    QStringLiteral("No rconpassword set on the server"),
};

// The colour codes, in the order they are removed: one pass each. The order matters: "^^11" loses
// only one "^1", and a code that an earlier pass brings together stays.
constexpr std::array<char, 70> ColourCodes = {
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '!', '@', '$', '%', '&', '*', '(', ')',
    'a', 'A', 'b', 'B', 'c', 'C', 'd', 'D', 'e', 'E', 'f', 'F', 'g', 'G', 'h', 'H', 'i', 'I',
    'j', 'J', 'k', 'K', 'l', 'L', 'm', 'M', 'n', 'N', 'o', 'O', 'p', 'P', 'q', 'Q', 'r', 'R',
    's', 'S', 't', 'T', 'u', 'U', 'v', 'V', 'w', 'W', 'x', 'X', 'y', 'Y', 'z', 'Z',
};

// Which characters stand right after a caret: a pass whose code follows no caret has nothing to do.
std::array<bool, 128> charactersAfterCarets(const QString &text)
{
    std::array<bool, 128> follows{};
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const char16_t next = text.at(i + 1).unicode();
        if (text.at(i) == u'^' && next < follows.size())
            follows[next] = true;
    }
    return follows;
}

void removeColourCodes(QString &text)
{
    if (!text.contains(u'^'))
        return;
    std::array<bool, 128> follows = charactersAfterCarets(text);
    for (const char code : ColourCodes) {
        if (!follows[static_cast<unsigned char>(code)])
            continue;
        // One left-to-right scan, as a plain replace-all: removed pairs are not looked at again.
        QChar *chars = text.data();
        const qsizetype size = text.size();
        qsizetype kept = 0;
        for (qsizetype i = 0; i < size;) {
            if (chars[i] == u'^' && i + 1 < size && chars[i + 1] == QLatin1Char(code)) {
                i += 2;
                continue;
            }
            chars[kept++] = chars[i++];
        }
        text.truncate(kept);
        // A removal may bring a caret next to a code of a later pass.
        follows = charactersAfterCarets(text);
    }
}

void lineFeedsToCrLf(QString &text)
{
    text.replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

QByteArrayView printedPart(QByteArrayView datagram)
{
    return datagram.startsWith(PrintHeader) ? datagram.sliced(PrintHeader.size()) : datagram;
}

bool refusesPassword(QByteArrayView datagram)
{
    if (!datagram.startsWith(PrintHeader))
        return false;
    QString text = fromWire(printedPart(datagram)).trimmed();
    if (text.endsWith(u'.'))
        text.chop(1);
    return std::find(Refusals.cbegin(), Refusals.cend(), text) != Refusals.cend();
}

QByteArray request(QStringView password, QStringView literal, QStringView parameter)
{
    QByteArray datagram = OutOfBandHeader.toByteArray();
    datagram += "rcon ";
    datagram += toWire(password);
    datagram += toWire(literal);
    datagram += toWire(parameter);
    return datagram;
}

QByteArray statusProbe()
{
    return OutOfBandHeader.toByteArray() + QByteArrayLiteral("getstatus");
}

QString cleanReply(QStringView received)
{
    QString text = received.toString();
    text.remove(PrintHeaderText);
    lineFeedsToCrLf(text);
    text.replace(u'\\', u' ');
    removeColourCodes(text);
    return text;
}

QString cleanCheatersReply(QStringView received)
{
    QString text = received.toString();
    text.remove(PrintHeaderText);
    lineFeedsToCrLf(text);
    text.replace(QStringLiteral("Unknown command "), QStringLiteral("The server does not appear to be running ETPro"));
    text.remove(QStringLiteral("cheaters"));
    text.remove(u'"');
    text.replace(u'\\', u' ');
    removeColourCodes(text);
    return text;
}

QString cleanCampaignReply(QStringView received)
{
    QString text = received.toString();
    text.remove(PrintHeaderText);
    text.remove(QStringLiteral("\r\n"));
    text.remove(u'\n');
    removeColourCodes(text);
    return text;
}

QStringList campaignEntries(QStringView received)
{
    QStringList pieces = cleanCampaignReply(received).split(u' ');
    return pieces.size() > 3 ? pieces.mid(3) : QStringList();
}

bool namesEtServer(QStringView cleaned)
{
    return cleaned.contains(u"version ET");
}

} // namespace korvane::rcon
