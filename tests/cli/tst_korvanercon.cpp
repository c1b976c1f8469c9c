#include "fakeserver.h"
#include "favorites/favoritesstore.h"
#include "testdata.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <functional>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs korvane-rcon (`password` in KORVANE_RCON_PASSWORD, never the test's own) with the event loop running,
// so that a loopback server in the test process reads each datagram as it arrives; killed after a minute.
CliRun runCli(const QStringList &arguments, const QByteArray &input = {}, const QString &password = {},
              const QString &folder = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"KORVANE_RCON_PASSWORD"_s);
    if (!password.isEmpty())
        environment.insert(u"KORVANE_RCON_PASSWORD"_s, password);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(QString::fromUtf8(KORVANE_RCON), arguments);
    process.write(input);
    process.closeWriteChannel();
    loop.exec();
    process.kill(); // no-op once it has ended
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

const QByteArray Oob(4, '\xFF');

QByteArray (*const print)(const QByteArray &) = &FakeServer::printReply;

// Once `ready` holds, sends `later` one by one, `intervalMs` apart, while korvane-rcon runs.
void sendWhenReady(QObject *context, FakeServer &server, std::function<bool()> ready, QList<QByteArray> later,
                   int intervalMs)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, [=, &server, since = QElapsedTimer(), done = 0]() mutable {
        if (!since.isValid() && ready())
            since.start();
        for (; since.isValid() && done < later.size() && since.elapsed() >= qint64(done + 1) * intervalMs; ++done)
            server.sendToClient(later.at(done));
    });
    timer->start(5);
}

// A run in a folder with the console's favourites Alpha (%S%, password "alpha pw"), "Beta - two" (%B%, "beta pw")
// and Silent, and a password file %PW% ("file pw\r\nsecond"); what the servers received. %S% answers each rcon
// request with `replies`, or, with none, stays silent but for `later`, sent `laterMs` apart once every request
// of the run has come; %B% answers "from beta" 300 ms after that, Silent never.
struct Run {
    QStringList arguments;
    QList<QByteArray> replies{}, sent{};
    QByteArray out{};
    int exitCode = 0;
    QByteArray err{}, input{};
    QString environmentPassword{};
    QList<QByteArray> later{};
    int laterMs = 1;
};

} // namespace

class TestKorvaneRcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void run_data();
    void run();

    void commandsAnsweredWholeStatusParsedPasswordRefused();
};

// clang-format off
void TestKorvaneRcon::run_data()
{
    QTest::addColumn<Run>("run");
    const QStringList s = {u"-s"_s, u"%S%"_s, u"--password"_s, u"pw"_s};
    const QStringList noPassword = {u"-s"_s, u"%S%"_s, u"status"_s};
    const QList<QByteArray> ok = {print("ok\n")};
    const QList<QByteArray> three = {print("first\nsec"), print("ond ^1red^7\\x\n"), print("third")};
    const QList<QByteArray> status = {Oob + "statusResponse\n\\sv_hostname\\^1Red\\etversion\\ET 2.60b\n"
                                            "5 50 \"^1Bob\"\n-3 999 \"Alice\"\n"};
    QList<QByteArray> trickle;
    for (int i = 0; i < 100; ++i)
        trickle << print("later " + QByteArray::number(i) + '\n');

    QTest::newRow("words joined by single blanks, words after the command are the command's")
        << Run{.arguments = s + QStringList{u"say"_s, u"hello  there"_s, u"-1"_s, u"--raw"_s}, .replies = ok,
               .sent = {Oob + "rcon pw say hello  there -1 --raw"}, .out = "ok\n"};
    QTest::newRow("password from the environment, an empty answer prints nothing")
        << Run{.arguments = noPassword, .replies = {print("")}, .sent = {Oob + "rcon env pw status"},
               .environmentPassword = u"env pw"_s};
    QTest::newRow("first line of the password file before the environment")
        << Run{.arguments = QStringList{u"--password-file"_s, u"%PW%"_s} + noPassword, .replies = ok,
               .sent = {Oob + "rcon file pw status"}, .out = "ok\n", .environmentPassword = u"env pw"_s};
    QTest::newRow("Windows-1252 on the wire and back to UTF-8")
        << Run{.arguments = s + QStringList{u"say"_s, u"Grüße €"_s}, .replies = {print("caf\xE9 \x80 \xFF\n")},
               .sent = {Oob + "rcon pw say Gr\xFC\xDF" "e \x80"}, .out = "café € ÿ\n"};
    QTest::newRow("three datagrams in order, a split line whole, cleaned")
        << Run{.arguments = s + QStringList{u"cvarlist"_s}, .replies = three, .sent = {Oob + "rcon pw cvarlist"},
               .out = "first\nsecond red x\nthird\n"};
    QTest::newRow("raw: only the print header removed")
        << Run{.arguments = s + QStringList{u"--raw"_s, u"cvarlist"_s}, .replies = three,
               .sent = {Oob + "rcon pw cvarlist"}, .out = "first\nsecond ^1red^7\\x\nthird\n"};
    QTest::newRow("status probe, no password needed, a table")
        << Run{.arguments = {u"-s"_s, u"%S%"_s, u"--status"_s}, .sent = {Oob + "getstatus"},
               .out = "sv_hostname  ^1Red\netversion    ET 2.60b\n\nET server: yes\nplayers: 2\nscore   ping  name\n"
                      "    5     50  Bob\n   -3    999  Alice\n",
               .later = status};
    QTest::newRow("standard input: comments and blank lines skipped, paced")
        << Run{.arguments = s + QStringList{u"--quiet"_s, u"0"_s, u"--pace"_s, u"400"_s, u"-"_s}, .replies = ok,
               .sent = {Oob + "rcon pw say one", Oob + "rcon pw say two", Oob + "rcon pw say three"},
               .out = "ok\nok\nok\n", .input = "say one\n\n# not sent\n   \nsay two\r\n#say no\nsay three"};
    QTest::newRow("no answer")
        << Run{.arguments = s + QStringList{u"--timeout"_s, u"300"_s, u"status"_s}, .sent = {Oob + "rcon pw status"},
               .exitCode = 1, .err = "korvane-rcon: %S%: no answer to \"status\" within 300 ms\n"};
    QTest::newRow("quiet time ends the answer")
        << Run{.arguments = s + QStringList{u"--quiet"_s, u"100"_s, u"status"_s}, .replies = {print("at once\n")},
               .sent = {Oob + "rcon pw status"}, .out = "at once\n", .later = trickle.mid(0, 1), .laterMs = 1500};
    QTest::newRow("longer quiet time waits for more")
        << Run{.arguments = s + QStringList{u"--quiet"_s, u"2500"_s, u"status"_s}, .replies = {print("at once\n")},
               .sent = {Oob + "rcon pw status"}, .out = "at once\nlater 0\n", .later = trickle.mid(0, 1),
               .laterMs = 300};
    QTest::newRow("total time-out cuts a slow trickle")
        << Run{.arguments = s + QStringList{u"--quiet"_s, u"1000"_s, u"--timeout"_s, u"400"_s, u"status"_s},
               .sent = {Oob + "rcon pw status"}, .out = "later 0\n...", .later = trickle, .laterMs = 50};
    const QStringList twoCommands = {u"-s"_s, u"%S%"_s, u"--password"_s, u"wrong"_s, u"-"_s};
    for (const QByteArray refusal : {"Bad rconpassword.", "Invalid password.", "No rconpassword set on the server."})
        QTest::newRow(refusal.constData())
            << Run{.arguments = twoCommands, .replies = {print(refusal + '\n')}, .sent = {Oob + "rcon wrong status"},
                   .exitCode = 3, .err = "korvane-rcon: %S%: the server refused the rcon password (" + refusal + ")\n",
                   .input = "status\nsay hi\n"};
    QTest::newRow("a refusal quoted in chat is an answer")
        << Run{.arguments = twoCommands, .replies = {print("console: Bad rconpassword.\n")},
               .sent = {Oob + "rcon wrong status", Oob + "rcon wrong say hi"},
               .out = "console: Bad rconpassword.\nconsole: Bad rconpassword.\n", .input = "status\nsay hi\n"};
    QTest::newRow("one favourite from the console's store in the current folder")
        << Run{.arguments = {u"-f"_s, u"Alpha"_s, u"status"_s}, .sent = {Oob + "rcon alpha pw status"},
               .out = "from alpha\n", .later = {print("from alpha\n")}};
    QTest::newRow("every favourite at once, lines prefixed with its name, a silent one named")
        << Run{.arguments = {u"--all-favorites"_s, u"--timeout"_s, u"2000"_s, u"status"_s},
               .sent = {Oob + "rcon alpha pw status", Oob + "rcon beta pw status"},
               .out = "Alpha: from alpha\nBeta - two: from beta\n", .exitCode = 1,
               .err = "korvane-rcon: Silent: no answer to \"status\" within 2000 ms\n", .later = {print("from alpha\n")}};
    QTest::newRow("several addresses at once, lines prefixed with each")
        << Run{.arguments = {u"-s"_s, u"%S%"_s, u"-s"_s, u"%B%"_s, u"--password"_s, u"pw"_s, u"say"_s, u"hi"_s},
               .sent = {Oob + "rcon pw say hi", Oob + "rcon pw say hi"}, .out = "%S%: from alpha\n%B%: from beta\n",
               .later = {print("from alpha\n")}};
    const QList<std::pair<QStringList, QByteArray>> failures = {
        {{u"-s"_s, u"no-such-host.invalid:27960"_s, u"--password"_s, u"pw"_s, u"status"_s},
         "no-such-host.invalid:27960: the host name no-such-host.invalid does not resolve"},
        {{u"status"_s}, "no server given"},
        {s, "no command given"},
        {noPassword, "%S%: no rcon password"},
        {{u"-s"_s, u"host:65536"_s, u"--status"_s}, "\"host:65536\" is not HOST[:PORT]"},
        {s + QStringList{u"--pace"_s, u"soon"_s, u"status"_s}, "--pace takes a whole number"},
        {{u"-f"_s, u"Delta"_s, u"status"_s}, "No favourite server is named \"Delta\"."},
    };
    for (const auto &[arguments, err] : failures)
        QTest::newRow(err.constData())
            << Run{.arguments = arguments, .exitCode = err.contains("resolve") ? 4 : 2, .err = "korvane-rcon: " + err};
}

// clang-format on

void TestKorvaneRcon::run()
{
    QFETCH(Run, run);
    FakeServer alpha(run.replies.isEmpty() ? FakeServer::Mode::Silent : FakeServer::Mode::EtServer);
    FakeServer beta(FakeServer::Mode::Silent), silent(FakeServer::Mode::Silent);
    alpha.setRconReplies(run.replies);
    // Each answers only once every server the run asks has been asked: one after the other would not do.
    const auto asked = [&] { return alpha.received().size() + beta.received().size() == run.sent.size(); };
    QObject context;
    sendWhenReady(
        &context, alpha, [&] { return asked() && !alpha.received().isEmpty(); }, run.later, run.laterMs);
    sendWhenReady(
        &context, beta, [&] { return asked() && !beta.received().isEmpty(); }, {print("from beta\n")}, 300);
    QTemporaryDir folder;
    QVERIFY(testdata::writeBytes(folder.filePath(u"pw"_s), "file pw\r\nsecond\n"));
    korvane::favorites::FavoritesStore store(folder.filePath(u"Korvane.mdb"_s)); // as the console's dialog stores
    QVERIFY(store.insert(u"Alpha"_s, u"127.0.0.1"_s, alpha.portText(), u"alpha pw"_s));
    QVERIFY(store.insert(u"Beta - two"_s, u"127.0.0.1"_s, beta.portText(), u"beta pw"_s));
    QVERIFY(store.insert(u"Silent"_s, u"127.0.0.1"_s, silent.portText(), u"pw"_s));
    const QByteArray a = "127.0.0.1:" + alpha.portText().toLatin1(), b = "127.0.0.1:" + beta.portText().toLatin1();
    run.arguments.replaceInStrings(u"%S%"_s, QString::fromLatin1(a))
        .replaceInStrings(u"%B%"_s, QString::fromLatin1(b))
        .replaceInStrings(u"%PW%"_s, folder.filePath(u"pw"_s));
    const CliRun cli = runCli(run.arguments, run.input, run.environmentPassword, folder.path());
    QCOMPARE(cli.exitCode, run.exitCode);
    QCoreApplication::processEvents(); // what it sent before it ended is waiting in the socket already
    QCOMPARE(alpha.received() + beta.received(), run.sent);
    run.out.replace("%S%", a).replace("%B%", b);
    if (run.out.endsWith("...")) // a trickle cut short: its beginning, never all of it
        QVERIFY2(cli.out.startsWith(run.out.chopped(3)) && cli.out.count('\n') < run.later.size(), cli.out.constData());
    else
        QCOMPARE(cli.out, run.out);
    QVERIFY2(cli.err.startsWith(run.err.replace("%S%", a)) && cli.err.count('\n') == !run.err.isEmpty(),
             cli.err.constData()); // the beginning of a single line
    // The stand-in notes a datagram a few milliseconds after it came (under Wine up to about 3 ms more).
    constexpr std::chrono::milliseconds ReadingJitter(5);
    const qsizetype pace = run.arguments.indexOf(u"--pace"_s); // else the default, an ET server's half second
    for (qsizetype i = 1; i < alpha.arrivals().size(); ++i)
        QVERIFY(alpha.arrivals().at(i) - alpha.arrivals().at(i - 1) >=
                std::chrono::milliseconds(pace >= 0 ? run.arguments.at(pace + 1).toInt() : 500) - ReadingJitter);
}

// korvane-rcon against a real Quake III-engine server on loopback. The server answers 10 requests from one address
// at once, then one a second: the whole test asks it fewer than ten times.
void TestKorvaneRcon::commandsAnsweredWholeStatusParsedPasswordRefused()
{
#ifdef Q_OS_WIN
    QSKIP("openarena-server is a Linux program: the Windows build meets it in tests/windows/windows.sh instead");
#endif
    if (!QFileInfo(u"/usr/games/openarena-server"_s).isExecutable())
        QSKIP("openarena-server is not installed (scripts/install-deps.sh installs it)");
    // A real openarena-server on a free loopback port, IPv4 only, a LAN server (no master), with a home of
    // its own, a bot for the status; asked at most once a second for half a minute whether it is up.
    QTemporaryDir home;
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0)); // a free port, handed on to the server
    const quint16 port = probe.localPort();
    probe.close();
    QProcess server;
    const auto stop = qScopeGuard([&] { // SIGTERM to its pid, as a game server is stopped
        server.terminate();
        server.waitForFinished(10000);
    });
    server.setStandardOutputFile(home.filePath(u"server.log"_s));
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(
        u"/usr/games/openarena-server"_s,
        QProcess::splitCommand(u"+set fs_homepath %1 +set net_enabled 1 +set net_ip 127.0.0.1 +set net_port %2 "
                               "+set dedicated 1 +set rconpassword korvane-e2e +set sv_hostname \"^1Korvane "
                               "test\" +map oa_dm1 +addbot sarge 1 free 0 ^1Baron"_s.arg(home.path())
                                   .arg(port)));
    bool up = false;
    for (int i = 0; i < 30 && !up && server.waitForStarted() && server.state() == QProcess::Running; ++i) {
        probe.writeDatagram(QByteArray(4, '\xFF') + "getstatus", QHostAddress::LocalHost, port);
        up = probe.waitForReadyRead(1000);
        if (!up)
            QTest::qWait(100);
    }
    QVERIFY2(up, "the server did not answer within 30 s; see server.log in its home folder");
    const QString address = u"127.0.0.1:%1"_s.arg(port);

    const QString password = u"korvane-e2e"_s;
    const CliRun said = runCli({u"-s"_s, address, u"say"_s, u"hello"_s, u"from"_s, u"^2korvane"_s}, {}, password);
    QCOMPARE(std::pair(said.exitCode, said.out), std::pair(0, QByteArray("console: hello from korvane\n")));

    // Far more than the thousand or so bytes of a datagram. Every cvar line whole (nine flag columns, the
    // name, the quoted value): a line cut at a datagram's end would not match and the count fall short.
    const CliRun cvars = runCli({u"-s"_s, address, u"cvarlist"_s}, {}, password);
    QCOMPARE(cvars.exitCode, 0);
    const QString text = QString::fromUtf8(cvars.out);
    const QRegularExpressionMatch total =
        QRegularExpression(u"\n\n(\\d+) total cvars\n\\d+ cvar indexes\n$"_s).match(text);
    QVERIFY2(total.hasMatch() && cvars.out.size() > 4000, qPrintable(text.right(200)));
    QCOMPARE(text.count(QRegularExpression(u"(?m)^.{9} \\S+ \".*\"$"_s)), total.captured(1).toLongLong());

    const CliRun refused = runCli({u"-s"_s, address, u"--password"_s, u"wrong"_s, u"status"_s});
    QCOMPARE(std::pair(refused.exitCode, refused.err),
             std::pair(3, QByteArray("korvane-rcon: " + address.toLatin1() +
                                     ": the server refused the rcon password (Bad rconpassword.)\n")));

    const CliRun cli = runCli({u"-s"_s, address, u"--status"_s, u"--json"_s});
    QCOMPARE(cli.exitCode, 0);
    const QJsonObject status = QJsonDocument::fromJson(cli.out).object();
    const QJsonObject settings = status[u"settings"].toObject();
    const QJsonArray players = status[u"players"].toArray();
    QCOMPARE(std::pair(players.size(), status[u"etServer"].toBool(true)), std::pair(qsizetype(1), false));
    QCOMPARE((QStringList{settings[u"mapname"].toString(), settings[u"sv_hostname"].toString(),
                          players[0][u"name"].toString(), players[0][u"rawName"].toString()}),
             (QStringList{u"oa_dm1"_s, u"^1Korvane test"_s, u"Baron"_s, u"^1Baron"_s}));
}

QTEST_GUILESS_MAIN(TestKorvaneRcon)
#include "tst_korvanercon.moc"
