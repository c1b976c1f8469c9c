#include "clirun.h"
#include "fakeserver.h"
#include "favorites/favoritesstore.h"
#include "testdata.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QByteArray Oob(4, '\xFF');

QByteArray print(const QByteArray &text)
{
    return FakeServer::printReply(text);
}

QString address(const FakeServer &server)
{
    return QStringLiteral("127.0.0.1:") + server.portText();
}

// Once `ready` holds, calls `act` with 0, 1, 2... every `intervalMs`, `count` times, while the event
// loop runs (that is, while korvane-rcon runs).
void whenReady(QObject *context, std::function<bool()> ready, int intervalMs, int count, std::function<void(int)> act)
{
    auto *timer = new QTimer(context);
    auto *since = new QElapsedTimer;
    QObject::connect(timer, &QTimer::destroyed, [since] { delete since; });
    QObject::connect(timer, &QTimer::timeout, [=, done = 0]() mutable {
        if (!since->isValid() && ready())
            since->start();
        for (; since->isValid() && done < count && since->elapsed() >= qint64(done + 1) * intervalMs; ++done)
            act(done);
    });
    timer->start(5);
}

QList<QByteArray> sortedLines(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

class TestKorvaneRcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sendsTheConsoleDatagram_data();
    void sendsTheConsoleDatagram();
    void printsTheAnswer_data();
    void printsTheAnswer();
    void timeOuts_data();
    void timeOuts();
    void refusedPassword_data();
    void refusedPassword();
    void unresolvableName();
    void standardInputInOrderAndPaced();
    void severalServersAtOnce();
    void favourites_data();
    void favourites();
    void status();
    void usage_data();
    void usage();
};

void TestKorvaneRcon::sendsTheConsoleDatagram_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("environmentPassword");
    QTest::addColumn<QByteArray>("passwordFile");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("words joined by single blanks")
        << QStringList{u"--password"_qs, u"pw"_qs, u"say"_qs, u"hello  there"_qs, u"x"_qs} << QString() << QByteArray()
        << Oob + "rcon pw say hello  there x";
    QTest::newRow("words after the command are the command's")
        << QStringList{u"--password"_qs, u"pw"_qs, u"kick"_qs, u"-1"_qs, u"--raw"_qs} << QString() << QByteArray()
        << Oob + "rcon pw kick -1 --raw";
    QTest::newRow("password from the environment")
        << QStringList{u"status"_qs} << u"env pw"_qs << QByteArray() << Oob + "rcon env pw status";
    QTest::newRow("first line of the password file before the environment")
        << QStringList{u"status"_qs} << u"env pw"_qs << QByteArray("file pw\r\nsecond\n")
        << Oob + "rcon file pw status";
    QTest::newRow("Windows-1252 on the wire")
        << QStringList{u"--password"_qs, u"pw"_qs, u"say"_qs, u"Grüße €"_qs} << QString() << QByteArray()
        << Oob + "rcon pw say Gr\xFC\xDF"
                 "e \x80";
    QTest::newRow("status probe, no password needed")
        << QStringList{u"--status"_qs} << QString() << QByteArray() << Oob + "getstatus";
}

void TestKorvaneRcon::sendsTheConsoleDatagram()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, environmentPassword);
    QFETCH(QByteArray, passwordFile);
    QFETCH(QByteArray, expected);
    FakeServer server;
    server.setRconReplies({print("ok\n")});
    QTemporaryDir dir;
    if (!passwordFile.isEmpty()) {
        QVERIFY(testdata::writeBytes(dir.filePath(u"pw"_qs), passwordFile));
        arguments.prepend(dir.filePath(u"pw"_qs));
        arguments.prepend(u"--password-file"_qs);
    }
    CliRun cli{QStringList{u"-s"_qs, address(server)} + arguments, {}, {}, environmentPassword};
    QCOMPARE(cli.run().exitCode, 0);
    QCOMPARE(server.received(), QList<QByteArray>{expected});
}

void TestKorvaneRcon::printsTheAnswer_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<QByteArray>("expected");

    const QList<QByteArray> threeDatagrams = {print("first\nsec"), print("ond ^1red^7\\x\n"), print("third")};
    QTest::newRow("three datagrams in order, a split line whole, cleaned")
        << threeDatagrams << false << QByteArray("first\nsecond red x\nthird\n");
    QTest::newRow("raw: only the print header removed")
        << threeDatagrams << true << QByteArray("first\nsecond ^1red^7\\x\nthird\n");
    QTest::newRow("Windows-1252 to UTF-8")
        << QList<QByteArray>{print("caf\xE9 \x80 \xFF\n")} << false << QByteArray("café € ÿ\n");
    QTest::newRow("empty answer prints nothing") << QList<QByteArray>{print("")} << false << QByteArray();
}

void TestKorvaneRcon::printsTheAnswer()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(bool, raw);
    QFETCH(QByteArray, expected);
    FakeServer server;
    server.setRconReplies(replies);
    QStringList arguments = {u"-s"_qs, address(server), u"--password"_qs, u"pw"_qs, u"cvarlist"_qs};
    if (raw)
        arguments.prepend(u"--raw"_qs);
    CliRun cli{arguments};
    QCOMPARE(cli.run().exitCode, 0);
    QCOMPARE(cli.out, expected);
    QCOMPARE(cli.err, QByteArray());
}

void TestKorvaneRcon::timeOuts_data()
{
    QTest::addColumn<QList<QByteArray>>("atOnce");
    QTest::addColumn<int>("laterEveryMs");
    QTest::addColumn<int>("laterCount");
    QTest::addColumn<QStringList>("timing");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("fewestLines");
    QTest::addColumn<int>("mostLines");

    const QList<QByteArray> one = {print("at once\n")};
    QTest::newRow("no answer") << QList<QByteArray>() << 0 << 0 << QStringList{u"--timeout"_qs, u"300"_qs} << 1 << 0
                               << 0;
    QTest::newRow("quiet time ends the answer")
        << one << 1500 << 1 << QStringList{u"--quiet"_qs, u"100"_qs} << 0 << 1 << 1;
    QTest::newRow("longer quiet time waits for more")
        << one << 300 << 1 << QStringList{u"--quiet"_qs, u"2500"_qs} << 0 << 2 << 2;
    QTest::newRow("total time-out cuts a slow trickle")
        << QList<QByteArray>() << 50 << 100 << QStringList{u"--quiet"_qs, u"1000"_qs, u"--timeout"_qs, u"400"_qs} << 0
        << 1 << 99;
}

void TestKorvaneRcon::timeOuts()
{
    QFETCH(QList<QByteArray>, atOnce);
    QFETCH(int, laterEveryMs);
    QFETCH(int, laterCount);
    QFETCH(QStringList, timing);
    QFETCH(int, exitCode);
    QFETCH(int, fewestLines);
    QFETCH(int, mostLines);
    FakeServer server;
    server.setRconReplies(atOnce);
    QObject context;
    whenReady(
        &context, [&] { return !server.received().isEmpty(); }, laterEveryMs, laterCount,
        [&](int i) { server.sendToClient(print("later " + QByteArray::number(i) + '\n')); });
    CliRun cli{timing + QStringList{u"-s"_qs, address(server), u"--password"_qs, u"pw"_qs, u"status"_qs}};
    QCOMPARE(cli.run().exitCode, exitCode);
    const qsizetype lines = cli.out.count('\n');
    QVERIFY2(lines >= fewestLines && lines <= mostLines, cli.out.constData());
    if (exitCode == 1)
        QCOMPARE(cli.err, "korvane-rcon: " + address(server).toLatin1() + ": no answer to \"status\" within 300 ms\n");
}

void TestKorvaneRcon::refusedPassword_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("captured refusal") << testdata::captureReply(u"plain-rcon-bad-status.json"_qs) << 3;
    QTest::newRow("Invalid password.") << print("Invalid password.\n") << 3;
    QTest::newRow("no password set on the server") << print("No rconpassword set on the server.\n") << 3;
    QTest::newRow("a refusal quoted in chat is an answer") << print("console: Bad rconpassword.\n") << 0;
}

void TestKorvaneRcon::refusedPassword()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, exitCode);
    FakeServer server;
    server.setRconReplies({reply});
    CliRun cli{{u"-s"_qs, address(server), u"--password"_qs, u"wrong"_qs, u"-"_qs}, "status\nsay hi\n"};
    QCOMPARE(cli.run().exitCode, exitCode);
    // Whatever korvane-rcon sent before it ended is waiting in the socket already.
    QCoreApplication::processEvents();
    QCOMPARE(server.received().size(), exitCode == 3 ? 1 : 2);
    if (exitCode == 3) {
        QCOMPARE(cli.out, QByteArray());
        QCOMPARE(cli.err, "korvane-rcon: " + address(server).toLatin1() + ": the server refused the rcon password (" +
                              reply.sliced(10).trimmed() + ")\n");
    }
}

void TestKorvaneRcon::unresolvableName()
{
    CliRun cli{{u"-s"_qs, u"no-such-host.invalid:27960"_qs, u"--password"_qs, u"pw"_qs, u"status"_qs}};
    QCOMPARE(cli.run().exitCode, 4);
    QVERIFY2(cli.err.startsWith("korvane-rcon: no-such-host.invalid:27960: the host name no-such-host.invalid does "
                                "not resolve"),
             cli.err.constData());
    QCOMPARE(cli.err.count('\n'), 1);
}

void TestKorvaneRcon::standardInputInOrderAndPaced()
{
    FakeServer server;
    server.setRconReplies({print("ok\n")});
    CliRun cli{{u"-s"_qs, address(server), u"--password"_qs, u"pw"_qs, u"--quiet"_qs, u"0"_qs, u"--pace"_qs, u"400"_qs,
                u"-"_qs},
               "say one\n\n# not sent\n   \nsay two\r\n#say no\nsay three"};
    QCOMPARE(cli.run().exitCode, 0);
    QCOMPARE(cli.out, QByteArray("ok\nok\nok\n"));
    QCOMPARE(server.received(),
             (QList<QByteArray>{Oob + "rcon pw say one", Oob + "rcon pw say two", Oob + "rcon pw say three"}));
    for (int i = 1; i < 3; ++i)
        QVERIFY(server.arrivals().at(i) - server.arrivals().at(i - 1) >= std::chrono::milliseconds(400));
}

void TestKorvaneRcon::severalServersAtOnce()
{
    // Each of the two answers only once both have been asked: one server after the other would not do.
    FakeServer first(FakeServer::Mode::Silent);
    FakeServer second(FakeServer::Mode::Silent);
    FakeServer silent(FakeServer::Mode::Silent);
    QObject context;
    whenReady(
        &context, [&] { return !first.received().isEmpty() && !second.received().isEmpty(); }, 1, 1,
        [&](int) {
            first.sendToClient(print("one\ntwo\n"));
            second.sendToClient(print("three\n"));
        });
    CliRun cli{{u"-s"_qs, address(first), u"-s"_qs, address(second), u"-s"_qs, address(silent), u"--password"_qs,
                u"pw"_qs, u"--timeout"_qs, u"2000"_qs, u"say"_qs, u"hi"_qs}};
    QCOMPARE(cli.run().exitCode, 1);
    const QByteArray a = address(first).toLatin1() + ": ";
    const QByteArray b = address(second).toLatin1() + ": ";
    QCOMPARE(sortedLines(cli.out), sortedLines(a + "one\n" + a + "two\n" + b + "three\n"));
    QCOMPARE(cli.err, "korvane-rcon: " + address(silent).toLatin1() + ": no answer to \"say hi\" within 2000 ms\n");
    for (const FakeServer *server : {&first, &second, &silent})
        QCOMPARE(server->received(), QList<QByteArray>{Oob + "rcon pw say hi"});
}

void TestKorvaneRcon::favourites_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QList<QByteArray>>("alphaReceived");
    QTest::addColumn<QList<QByteArray>>("betaReceived");
    QTest::addColumn<QByteArray>("out");

    const QList<QByteArray> none;
    QTest::newRow("one favourite from the console's store in the current folder")
        << QStringList{u"-f"_qs, u"Alpha"_qs, u"status"_qs} << 0 << QList<QByteArray>{Oob + "rcon alpha pw status"}
        << none << QByteArray("from alpha\n");
    QTest::newRow("--store names another file")
        << QStringList{u"--store"_qs, u"%STORE%"_qs, u"-f"_qs, u"Beta - two"_qs, u"status"_qs} << 0 << none
        << QList<QByteArray>{Oob + "rcon beta pw status"} << QByteArray("from beta\n");
    QTest::newRow("every favourite, lines prefixed with its name")
        << QStringList{u"--all-favorites"_qs, u"status"_qs} << 0 << QList<QByteArray>{Oob + "rcon alpha pw status"}
        << QList<QByteArray>{Oob + "rcon beta pw status"} << QByteArray("Alpha: from alpha\nBeta - two: from beta\n");
    QTest::newRow("a name not in the store")
        << QStringList{u"-f"_qs, u"Gamma"_qs, u"status"_qs} << 2 << none << none << QByteArray();
}

void TestKorvaneRcon::favourites()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QList<QByteArray>, alphaReceived);
    QFETCH(QList<QByteArray>, betaReceived);
    QFETCH(QByteArray, out);
    FakeServer alpha;
    FakeServer beta;
    alpha.setRconReplies({print("from alpha\n")});
    beta.setRconReplies({print("from beta\n")});
    QTemporaryDir consoleFolder;
    QTemporaryDir otherFolder;
    // What the console's add dialog stores.
    const QString storePath = consoleFolder.filePath(u"Korvane.mdb"_qs);
    korvane::favorites::FavoritesStore store(storePath);
    QVERIFY(store.insert(u"Alpha"_qs, u"127.0.0.1"_qs, alpha.portText(), u"alpha pw"_qs));
    QVERIFY(store.insert(u"Beta - two"_qs, u"127.0.0.1"_qs, beta.portText(), u"beta pw"_qs));
    const bool named = arguments.contains(u"%STORE%"_qs);
    arguments.replaceInStrings(u"%STORE%"_qs, storePath);
    CliRun cli{arguments, {}, named ? otherFolder.path() : consoleFolder.path()};
    QCOMPARE(cli.run().exitCode, exitCode);
    QCoreApplication::processEvents();
    QCOMPARE(alpha.received(), alphaReceived);
    QCOMPARE(beta.received(), betaReceived);
    QCOMPARE(sortedLines(cli.out), sortedLines(out));
    QCOMPARE(cli.err.isEmpty(), exitCode == 0);
}

void TestKorvaneRcon::status()
{
    FakeServer server(FakeServer::Mode::Silent);
    const auto askStatus = [&](const QStringList &options) {
        QObject context;
        server.clear();
        whenReady(
            &context, [&] { return !server.received().isEmpty(); }, 1, 1,
            [&](int) {
                server.sendToClient(Oob + "statusResponse\n\\sv_hostname\\^1Red\\etversion\\ET 2.60b\n5 50 \"^1Bob\"\n"
                                          "-3 999 \"Alice\"\n");
            });
        CliRun cli{QStringList{u"-s"_qs, address(server), u"--status"_qs} + options};
        return cli.run();
    };
    const CliRun table = askStatus({});
    QCOMPARE(table.exitCode, 0);
    QCOMPARE(server.received(), QList<QByteArray>{Oob + "getstatus"});
    QCOMPARE(table.out, QByteArray("sv_hostname  ^1Red\n"
                                   "etversion    ET 2.60b\n"
                                   "\n"
                                   "ET server: yes\n"
                                   "players: 2\n"
                                   "score   ping  name\n"
                                   "    5     50  Bob\n"
                                   "   -3    999  Alice\n"));

    const CliRun json = askStatus({u"--json"_qs});
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(json.out, R"({"etServer":true,"players":[{"name":"Bob","ping":50,"rawName":"^1Bob","score":5},)"
                       R"({"name":"Alice","ping":999,"rawName":"Alice","score":-3}],"server":")" +
                           address(server).toLatin1() +
                           R"(","settings":{"etversion":"ET 2.60b","sv_hostname":"^1Red"}})" + '\n');
}

void TestKorvaneRcon::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("mentions");

    const QStringList server = {u"-s"_qs, u"127.0.0.1"_qs, u"--password"_qs, u"pw"_qs};
    QTest::newRow("help") << QStringList{u"--help"_qs} << 0 << QByteArray("Examples:");
    QTest::newRow("no server") << QStringList{u"status"_qs} << 2 << QByteArray("no server");
    QTest::newRow("no command") << server << 2 << QByteArray("no command");
    QTest::newRow("no password") << QStringList{u"-s"_qs, u"127.0.0.1"_qs, u"status"_qs} << 2
                                 << QByteArray("no rcon password");
    QTest::newRow("port out of range") << QStringList{u"-s"_qs, u"host:65536"_qs, u"--status"_qs} << 2
                                       << QByteArray("host:65536");
    QTest::newRow("unknown option") << server + QStringList{u"--nope"_qs, u"status"_qs} << 2 << QByteArray("nope");
    QTest::newRow("pace not a number") << server + QStringList{u"--pace"_qs, u"soon"_qs, u"status"_qs} << 2
                                       << QByteArray("soon");
}

void TestKorvaneRcon::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, mentions);
    CliRun cli{arguments};
    QCOMPARE(cli.run().exitCode, exitCode);
    const QByteArray &text = exitCode == 0 ? cli.out : cli.err;
    QVERIFY2(text.contains(mentions), text.constData());
    if (exitCode != 0) {
        QVERIFY2(cli.err.startsWith("korvane-rcon: ") && cli.err.count('\n') == 1, cli.err.constData());
        QCOMPARE(cli.out, QByteArray());
    }
}

QTEST_GUILESS_MAIN(TestKorvaneRcon)
#include "tst_korvanercon.moc"
