#include "rcon/statusreply.h"
#include "testdata.h"

#include <QTest>

using namespace korvane::rcon;

class TestStatusReply : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
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
        QTest::newRow("backslashes and quotes only")
            << Header + QByteArray(5000, '\\') + '\n' + QByteArray(5000, '"') << u"other 2500 = ="_s;
        QTest::newRow("zero bytes and a huge negative")
            << Header + QByteArray("\\\0\\\0\n-99999999999999999999 0 \"\0\"", 32) << u"other 1 \0=\0 \0=\0"_s;
    }

    void parse()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, parsed);
        const std::optional<StatusReply> reply = parseStatusReply(datagram);
        const StatusReply r = reply.value_or(StatusReply());
        QStringList parts{!reply ? u"-"_s : r.etServer ? u"ET"_s : u"other"_s};
        if (reply)
            parts << QString::number(r.settings.size());
        if (!r.settings.isEmpty())
            parts << r.settings.first().first + u'=' + r.settings.first().second
                  << r.settings.last().first + u'=' + r.settings.last().second;
        for (const StatusPlayer &player : r.players)
            parts << u"| %1 %2 %3 %4"_s.arg(player.score).arg(player.ping).arg(player.name, player.rawName);
        QCOMPARE(parts.join(u' '), parsed);
    }
};

QTEST_GUILESS_MAIN(TestStatusReply)
#include "tst_statusreply.moc"
