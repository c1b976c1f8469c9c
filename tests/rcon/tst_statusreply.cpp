#include "rcon/statusreply.h"
#include "testdata.h"

#include <QTest>

using namespace korvane::rcon;

namespace {
const QByteArray Header = QByteArray(4, '\xFF') + "statusResponse\n";
using Settings = QList<std::pair<QString, QString>>;
} // namespace

class TestStatusReply : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captures_data();
    void captures();
    void players_data();
    void players();
    void malformedInputIsSafe_data();
    void malformedInputIsSafe();
};

void TestStatusReply::captures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("etServer");
    QTest::newRow("ET server") << u"et-getstatus.json"_qs << true;
    QTest::newRow("other game") << u"plain-getstatus.json"_qs << false;
}

void TestStatusReply::captures()
{
    QFETCH(QString, file);
    QFETCH(bool, etServer);
    const std::optional<StatusReply> reply = parseStatusReply(testdata::captureReply(file));
    QVERIFY(reply);
    QCOMPARE(reply->etServer, etServer);
    QCOMPARE(reply->settings.first(), std::pair(u"com_protocol"_qs, u"71"_qs));
    QCOMPARE(reply->settings.last().first, u"g_timestamp"_qs);
    QCOMPARE(reply->settings.size(), etServer ? 44 : 43);
    QVERIFY(reply->players.isEmpty());
}

void TestStatusReply::players_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QList<int>>("scoresAndPings");
    QTest::addColumn<QStringList>("namesAndRawNames");

    QTest::newRow("players, colour codes removed the console's way")
        << Header + "\\sv_hostname\\^1Red\\g_needpass\\0\n5 50 \"^1Bob^^11\"\n-3 999 \"A \\\"quote\"\n"
        << Settings{{u"sv_hostname"_qs, u"^1Red"_qs}, {u"g_needpass"_qs, u"0"_qs}} << QList<int>{5, 50, -3, 999}
        << QStringList{u"Bob^1"_qs, u"^1Bob^^11"_qs, u"A  \"quote"_qs, u"A \\\"quote"_qs};
    QTest::newRow("key without value, CR LF lines, Windows-1252 name")
        << Header + "\\a\\1\\b\r\n0 0 \"Jos\xE9 \x80\"\r\n"
        << Settings{{u"a"_qs, u"1"_qs}, {u"b"_qs, QString()}} << QList<int>{0, 0}
        << QStringList{u"José €"_qs, u"José €"_qs};
    QTest::newRow("lines that are not players are skipped")
        << Header + "\\k\\v\nnot a player\n1 2\n1 2 3 \"three numbers\"\n99999999999 1 \"huge\"\n7 8 \"\n9 9 \"ok\"\n"
        << Settings{{u"k"_qs, u"v"_qs}} << QList<int>{9, 9} << QStringList{u"ok"_qs, u"ok"_qs};
}

void TestStatusReply::players()
{
    QFETCH(QByteArray, datagram);
    QFETCH(Settings, settings);
    QFETCH(QList<int>, scoresAndPings);
    QFETCH(QStringList, namesAndRawNames);
    const std::optional<StatusReply> reply = parseStatusReply(datagram);
    QVERIFY(reply);
    QCOMPARE(reply->settings, settings);
    QList<int> numbers;
    QStringList names;
    for (const StatusPlayer &player : reply->players) {
        numbers << player.score << player.ping;
        names << player.name << player.rawName;
    }
    QCOMPARE(numbers, scoresAndPings);
    QCOMPARE(names, namesAndRawNames);
}

void TestStatusReply::malformedInputIsSafe_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("isStatus");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("print reply") << QByteArray(4, '\xFF') + "print\nstatusResponse\n" << false;
    QTest::newRow("header cut short") << QByteArray(4, '\xFF') + "statusRespons" << false;
    QTest::newRow("header alone, no line end") << QByteArray(4, '\xFF') + "statusResponse" << true;
    QTest::newRow("backslashes and quotes only")
        << Header + QByteArray(5000, '\\') + '\n' + QByteArray(5000, '"') << true;
    QTest::newRow("zero bytes and a huge negative")
        << Header + QByteArray("\\\0\\\0\n-99999999999999999999 0 \"\0\"", 32) << true;
    QTest::newRow("60000 line feeds") << Header + QByteArray(60000, '\n') << true;
}

void TestStatusReply::malformedInputIsSafe()
{
    QFETCH(QByteArray, datagram);
    QFETCH(bool, isStatus);
    const std::optional<StatusReply> reply = parseStatusReply(datagram);
    QCOMPARE(reply.has_value(), isStatus);
    if (reply)
        QVERIFY(reply->players.isEmpty());
}

QTEST_GUILESS_MAIN(TestStatusReply)
#include "tst_statusreply.moc"
