// The datagram formats, the text codec, the cleaning of replies and the status reply.

#include "rcon/serverport.h"
#include "rcon/statusreply.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "testdata.h"

#include <numeric>

using namespace korvane;

namespace {

// Texts in UTF-8 (ÿ is 0xFF), "<print>" standing for a print reply's header.
QString text(const char *utf8)
{
    return QString::fromUtf8(utf8).replace(u"<print>"_s, u"ÿÿÿÿprint\n"_s);
}

// clang-format off
constexpr struct {
    const char *name, *password, *literal, *parameter, *bytes; // after "\xFF\xFF\xFF\xFFrcon "
} Requests[] = {
    {"blanks, semicolons and quotes unchanged", "pw", " say ", "  a; \"b\" 'c' ", "pw say   a; \"b\" 'c' "},
    {"password not trimmed", " p w ", " say ", "", " p w  say "},
    {"Windows-1252, question marks beyond it", "Grüße", " say ", "€ 日本 😀", "Gr\xFC\xDF" "e say \x80 ?? ?"}};

// The console's cleaning, the cheaters list's, and the campaign list's entries (joined by '|').
enum Cleaning { Reply, Cheaters, Campaigns };
constexpr struct {
    const char *name;
    Cleaning cleaning;
    const char *received, *shown;
} Cleaned[] = {
    {"print headers removed anywhere", Reply, "x<print>Bad rconpassword.\n<print>", "xBad rconpassword.\r\n"},
    {"other header kept, backslashes blank", Reply, "ÿÿÿÿstatusResponse\n\\a\\b", "ÿÿÿÿstatusResponse\r\n a b"},
    {"colour codes: digits, letters of both cases, symbols", Reply, "^1R^2e^aA^Zz^!^@^$^%^&^*^(^)d", "ReAzd"},
    {"caret not a code", Reply, "^#^-^.^^ x^", "^#^-^.^^ x^"},
    {"a later pass joins an earlier code, each pass one scan", Reply, "^^a1 ^^^111", "^1 ^^11"},
    {"cheaters: server without the command", Cheaters, "<print>Unknown command \"cheaters\"\n",
     "The server does not appear to be running ETPro\r\n"},
    {"cheaters: backslashes, colours and quotes", Cheaters, "<print>^1Bad\\Guy \"0123ABCD\" cheaters\n", "Bad Guy 0123ABCD \r\n"},
    {"campaigns after three words", Campaigns, "<print>Available campaigns are:\n cmpgn_north\n cmpgn_south\n", "cmpgn_north|cmpgn_south"},
    {"campaigns: three words or fewer", Campaigns, "<print>one two three", ""},
    {"campaigns: line breaks join, empty pieces kept", Campaigns, "a b c d\r\ne  f ", "de||f|"},
    {"campaigns: colour codes removed, backslashes kept", Campaigns, "a b c ^1ca^zmp^#x\\y", "camp^#x\\y"}};

// A server's port as a user types it; -1: refused.
constexpr struct {
    const char *name, *text;
    int port;
} Ports[] = {
    {"lowest", "1", 1}, {"highest", "65535", 65535}, {"blanks around, a plus", " +080 ", 80}, {"zero", "0", -1},
    {"past the highest", "65536", -1}, {"negative", "-1", -1}, {"empty", "", -1}, {"not decimal", "0x50", -1}};
// clang-format on

} // namespace

class TestRcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void request_data() { testdata::addRows(Requests); }
    void request()
    {
        const auto &r = testdata::current(Requests);
        QCOMPARE(rcon::request(text(r.password), text(r.literal), text(r.parameter)),
                 QByteArray(4, '\xFF') + "rcon " + r.bytes);
    }

    void statusProbe() { QCOMPARE(rcon::statusProbe(), QByteArray::fromHex("ffffffff676574737461747573")); }

    // Every byte reads back as itself; the text beyond Windows-1252 goes out as question marks.
    void wireTextIsWindows1252()
    {
        QByteArray all(256, 0);
        std::iota(all.begin(), all.end(), 0);
        QCOMPARE(rcon::toWire(rcon::fromWire(all)), all);
        QCOMPARE(
            rcon::toWire(u"Fran\u00e7ais €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ Ω→😀"_s),
            QByteArray::fromHex("4672616ee7616973208082838485868788898a8b8c8e9192939495969798999a9b9c9e9f203f3f3f"));
    }

    void cleaning_data() { testdata::addRows(Cleaned); }
    void cleaning()
    {
        const auto &c = testdata::current(Cleaned);
        const QString received = text(c.received);
        QCOMPARE(c.cleaning == Reply      ? rcon::cleanReply(received)
                 : c.cleaning == Cheaters ? rcon::cleanCheatersReply(received)
                                          : rcon::campaignEntries(received).join(u'|'),
                 text(c.shown));
    }

    void port_data() { testdata::addRows(Ports); }
    void port()
    {
        const auto &p = testdata::current(Ports);
        const std::optional<quint16> port = rcon::parsePort(text(p.text));
        QCOMPARE(port ? int(*port) : -1, p.port);
    }

    void statusReply_data()
    {
        // The parse in one line: "-" for no status reply; "ET" or "other", the number of settings, the first
        // and the last; then score, ping, name and raw name of each player.
        const QByteArray Header = QByteArray(4, '\xFF') + "statusResponse\n";
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("parsed");
        QTest::newRow("captured ET server") << testdata::captureReply(u"et-getstatus.json"_s)
                                            << u"ET 44 com_protocol=71 g_timestamp=2026-12-06 09:19:46"_s;
        QTest::newRow("captured other game") << testdata::captureReply(u"plain-getstatus.json"_s)
                                             << u"other 43 com_protocol=71 g_timestamp=2026-12-06 09:14:06"_s;
        QTest::newRow("players, colour codes removed the console's way")
            << Header + "\\sv_hostname\\^1Red\\g_needpass\\0\n5 50 \"^1Bob^^11\"\n-3 999 \"A \\\"quote\"\n"
            << u"other 2 sv_hostname=^1Red g_needpass=0 | 5 50 Bob^1 ^1Bob^^11 | -3 999 A  \"quote A \\\"quote"_s;
        QTest::newRow("key without value, CR LF lines, Windows-1252 name")
            << Header + "\\a\\1\\b\r\n0 0 \"Jos\xE9 \x80\"\r\n"
            << u"other 2 a=1 b= | 0 0 José € José €"_s;
        QTest::newRow("lines that are not players are skipped")
            << Header +
                   "\\k\\v\nnot a player\n1 2\n1 2 3 \"three numbers\"\n99999999999 1 \"huge\"\n7 8 \"\n9 9 \"ok\"\n"
            << u"other 1 k=v k=v | 9 9 ok ok"_s;
        QTest::newRow("empty") << QByteArray() << u"-"_s;
        QTest::newRow("print reply") << QByteArray(4, '\xFF') + "print\nstatusResponse\n" << u"-"_s;
        QTest::newRow("header alone, no line end") << QByteArray(4, '\xFF') + "statusResponse" << u"other 0"_s;
    }

    void statusReply()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, parsed);
        const std::optional<rcon::StatusReply> reply = rcon::parseStatusReply(datagram);
        const rcon::StatusReply r = reply.value_or(rcon::StatusReply());
        QStringList parts{!reply ? u"-"_s : r.etServer ? u"ET"_s : u"other"_s};
        if (reply)
            parts << QString::number(r.settings.size());
        if (!r.settings.isEmpty())
            parts << r.settings.first().first + u'=' + r.settings.first().second
                  << r.settings.last().first + u'=' + r.settings.last().second;
        for (const rcon::StatusPlayer &player : r.players)
            parts << u"| %1 %2 %3 %4"_s.arg(player.score).arg(player.ping).arg(player.name, player.rawName);
        QCOMPARE(parts.join(u' '), parsed);
    }
};

QTEST_GUILESS_MAIN(TestRcon)
#include "tst_rcon.moc"
