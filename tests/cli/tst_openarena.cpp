#include "clirun.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

// korvane-rcon against a real Quake III-engine server on loopback. The server answers 10 requests from
// one address at once, then one a second: the whole test asks it fewer than ten times.
class TestOpenArena : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandsAnsweredWholeStatusParsedPasswordRefused();
};

void TestOpenArena::commandsAnsweredWholeStatusParsedPasswordRefused()
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

QTEST_GUILESS_MAIN(TestOpenArena)
#include "tst_openarena.moc"
