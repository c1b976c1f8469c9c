#include "fakeserver.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "testdata.h"

#include <QTest>

using namespace korvane;

namespace {
const QByteArray Oob(4, '\xFF');
const QString OobText(4, QChar(0xFF));
const QString PrintHeader = OobText + QStringLiteral("print\n");
} // namespace

class TestWireFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void request_data();
    void request();
    void statusProbeIsThirteenBytes();
    void codecRoundTripsEveryByte();
    void codecEncoding_data();
    void codecEncoding();
    void cleanReply_data();
    void cleanReply();
    void cleanReplyOfCapturedStatus();
    void cheatersCleaning_data();
    void cheatersCleaning();
    void campaignEntries_data();
    void campaignEntries();
};

void TestWireFormat::request_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("players list") << u"secret"_qs << u" status"_qs << QString() << Oob + "rcon secret status";
    QTest::newRow("empty parameter keeps the literal's blank")
        << u"pw"_qs << u" say "_qs << QString() << Oob + "rcon pw say ";
    QTest::newRow("blanks, semicolons and quotes unchanged")
        << u"pw"_qs << u" say "_qs << u"  a; \"b\" 'c' "_qs << Oob + "rcon pw say   a; \"b\" 'c' ";
    QTest::newRow("password with blanks is not trimmed")
        << u" p w "_qs << u" status"_qs << QString() << Oob + "rcon  p w  status";
    QTest::newRow("empty password") << QString() << u" status"_qs << QString() << Oob + "rcon  status";
    QTest::newRow("accents as Windows-1252") << u"pw"_qs << u" say "_qs << u"Grüße €"_qs
                                             << Oob + "rcon pw say Gr\xFC\xDF"
                                                      "e \x80";
    QTest::newRow("unencodable as question mark")
        << u"pw"_qs << u" say "_qs << u"日本 😀"_qs << Oob + "rcon pw say ?? ?";
}

void TestWireFormat::request()
{
    QFETCH(QString, password);
    QFETCH(QString, literal);
    QFETCH(QString, parameter);
    QFETCH(QByteArray, expected);
    QCOMPARE(rcon::request(password, literal, parameter), expected);
}

void TestWireFormat::statusProbeIsThirteenBytes()
{
    QCOMPARE(rcon::statusProbe(), QByteArray::fromHex("ffffffff676574737461747573"));
    QCOMPARE(rcon::statusProbe().size(), 13);
}

void TestWireFormat::codecRoundTripsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = rcon::fromWire(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(rcon::toWire(text), all);
    QCOMPARE(text.at(0xFF), QChar(0xFF));
    QCOMPARE(text.at(0x80), QChar(0x20AC));
}

void TestWireFormat::codecEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"abc"_qs << QByteArray("abc");
    QTest::newRow("latin-1") << u"Français"_qs
                             << QByteArray("Fran\xE7"
                                           "ais");
    QTest::newRow("windows-1252 extras") << u"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"_qs
                                         << QByteArray::fromHex("808283848586878889"
                                                                "8a8b8c8e9192939495969798999a9b9c9e9f");
    QTest::newRow("outside the code page") << u"Ω→"_qs << QByteArray("??");
    QTest::newRow("surrogate pair is one character") << u"a😀b"_qs << QByteArray("a?b");
}

void TestWireFormat::codecEncoding()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(rcon::toWire(text), bytes);
}

void TestWireFormat::cleanReply_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("shown");

    QTest::newRow("print header removed") << PrintHeader + u"Bad rconpassword.\n"_qs << u"Bad rconpassword.\r\n"_qs;
    QTest::newRow("print header twice") << PrintHeader + u"a\n"_qs + PrintHeader + u"b"_qs << u"a\r\nb"_qs;
    QTest::newRow("header anywhere") << u"x"_qs + PrintHeader + u"y"_qs << u"xy"_qs;
    QTest::newRow("other header kept") << OobText + u"statusResponse\n\\a\\b"_qs
                                       << OobText + u"statusResponse\r\n a b"_qs;
    QTest::newRow("key and value") << u"\\key\\value"_qs << u" key value"_qs;
    QTest::newRow("CR LF becomes CR CR LF") << u"a\r\nb"_qs << u"a\r\r\nb"_qs;
    QTest::newRow("colour digits") << u"^1R^2e^3d^0!"_qs << u"Red!"_qs;
    QTest::newRow("caret caret 1 1") << u"^^11"_qs << u"^1"_qs;
    QTest::newRow("caret hash stays") << u"^#x"_qs << u"^#x"_qs;
    QTest::newRow("caret letters both cases") << u"^aA^Zz^mM"_qs << u"AzM"_qs;
    QTest::newRow("caret symbols") << u"^!^@^$^%^&^*^(^)x"_qs << u"x"_qs;
    QTest::newRow("caret not a code") << u"^-^.^^"_qs << u"^-^.^^"_qs;
    QTest::newRow("later pass joins an earlier code") << u"^^a1"_qs << u"^1"_qs;
    QTest::newRow("code pass is one scan") << u"^^^111"_qs << u"^^11"_qs;
    QTest::newRow("trailing caret") << u"abc^"_qs << u"abc^"_qs;
    QTest::newRow("empty") << QString() << QString();
}

void TestWireFormat::cleanReply()
{
    QFETCH(QString, received);
    QFETCH(QString, shown);
    QCOMPARE(rcon::cleanReply(received), shown);
}

void TestWireFormat::cleanReplyOfCapturedStatus()
{
    const QString cleaned = rcon::cleanReply(rcon::fromWire(FakeServer::etStatusReply()));
    QVERIFY(cleaned.startsWith(OobText + u"statusResponse\r\n"_qs));
    QVERIFY(cleaned.contains(u" etversion ET 2.60b "_qs));
    QVERIFY(rcon::namesEtServer(cleaned));
    QVERIFY(!rcon::namesEtServer(rcon::cleanReply(rcon::fromWire(testdata::captureReply(u"plain-getstatus.json"_qs)))));
}

void TestWireFormat::cheatersCleaning_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("shown");
    QTest::newRow("server without the command") << PrintHeader + u"Unknown command \"cheaters\"\n"_qs
                                                << u"The server does not appear to be running ETPro\r\n"_qs;
    QTest::newRow("list with backslashes and colours")
        << PrintHeader + u"^1Bad\\Guy 0123ABCD cheaters\n"_qs << u"Bad Guy 0123ABCD \r\n"_qs;
    QTest::newRow("quotes removed everywhere") << u"a \"b\" c"_qs << u"a b c"_qs;
}

void TestWireFormat::cheatersCleaning()
{
    QFETCH(QString, received);
    QFETCH(QString, shown);
    QCOMPARE(rcon::cleanCheatersReply(received), shown);
}

void TestWireFormat::campaignEntries_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("three words then names")
        << PrintHeader + u"Available campaigns are:\n cmpgn_north\n cmpgn_south\n"_qs
        << QStringList{u"cmpgn_north"_qs, u"cmpgn_south"_qs};
    QTest::newRow("three words or fewer") << PrintHeader + u"one two three"_qs << QStringList();
    QTest::newRow("line break joins words") << u"a b c d\ne"_qs << QStringList{u"de"_qs};
    QTest::newRow("empty pieces kept") << u"a b c  d "_qs << QStringList{QString(), u"d"_qs, QString()};
    QTest::newRow("colour codes removed") << u"a b c ^1ca^zmp^#x"_qs << QStringList{u"camp^#x"_qs};
    QTest::newRow("backslashes kept") << u"a b c x\\y"_qs << QStringList{u"x\\y"_qs};
}

void TestWireFormat::campaignEntries()
{
    QFETCH(QString, received);
    QFETCH(QStringList, entries);
    QCOMPARE(rcon::campaignEntries(received), entries);
}

QTEST_GUILESS_MAIN(TestWireFormat)
#include "tst_wireformat.moc"
