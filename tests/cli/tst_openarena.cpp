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
    const QString program = u"/usr/games/openarena-server"_qs;
    if (!QFileInfo(program).isExecutable())
        QSKIP("openarena-server is not installed (scripts/install-deps.sh installs it)");
    QTemporaryDir home;
    QProcess server;
    const auto stop = qScopeGuard([&] {
        server.terminate(); // SIGTERM to its pid
        if (!server.waitForFinished(10000))
            server.kill();
    });
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0)); // a free port, handed on to the server
    const quint16 port = probe.localPort();
    probe.close();
    const QString address = u"127.0.0.1:"_qs + QString::number(port);
    server.setStandardOutputFile(home.filePath(u"server.log"_qs));
    server.setProcessChannelMode(QProcess::MergedChannels);
    // Home in a temporary folder, IPv4 on loopback only, a LAN server (no master), a bot for the status.
    server.start(program, QProcess::splitCommand(u"+set fs_homepath %1 +set net_enabled 1 +set net_ip 127.0.0.1 "
                                                 "+set net_port %2 +set dedicated 1 +set rconpassword korvane-e2e "
                                                 "+set sv_hostname \"^1Korvane test\" +map oa_dm1 "
                                                 "+addbot sarge 1 free 0 ^1Baron"_qs.arg(home.path())
                                                     .arg(port)));
    QVERIFY(server.waitForStarted());
    // Ready once it answers the status probe; asked at most once a second, for half a minute.
    bool answered = false;
    for (int i = 0; i < 30 && !answered && server.state() == QProcess::Running; ++i) {
        probe.writeDatagram(QByteArray(4, '\xFF') + "getstatus", QHostAddress::LocalHost, port);
        if (!(answered = probe.waitForReadyRead(1000)))
            QTest::qWait(100);
    }
    QVERIFY2(answered, "the server did not answer within 30 s; see server.log in its home folder");

    const QString password = u"korvane-e2e"_qs;
    const CliRun said = runCli({u"-s"_qs, address, u"say"_qs, u"hello"_qs, u"from"_qs, u"^2korvane"_qs}, {}, password);
    QCOMPARE(std::pair(said.exitCode, said.out), std::pair(0, QByteArray("console: hello from korvane\n")));

    // Far more than the thousand or so bytes of a datagram. Every cvar line whole (nine flag columns, the
    // name, the quoted value): a line cut at a datagram's end would not match and the count fall short.
    const CliRun cvars = runCli({u"-s"_qs, address, u"cvarlist"_qs}, {}, password);
    QCOMPARE(cvars.exitCode, 0);
    const QString text = QString::fromUtf8(cvars.out);
    const QRegularExpressionMatch total =
        QRegularExpression(u"\n\n(\\d+) total cvars\n\\d+ cvar indexes\n$"_qs).match(text);
    QVERIFY2(total.hasMatch() && cvars.out.size() > 4000, qPrintable(text.right(200)));
    QCOMPARE(text.count(QRegularExpression(u"(?m)^.{9} \\S+ \".*\"$"_qs)), total.captured(1).toLongLong());

    const CliRun refused = runCli({u"-s"_qs, address, u"--password"_qs, u"wrong"_qs, u"status"_qs});
    QCOMPARE(std::pair(refused.exitCode, refused.err),
             std::pair(3, QByteArray("korvane-rcon: " + address.toLatin1() +
                                     ": the server refused the rcon password (Bad rconpassword.)\n")));

    const CliRun cli = runCli({u"-s"_qs, address, u"--status"_qs, u"--json"_qs});
    QCOMPARE(cli.exitCode, 0);
    const QJsonObject status = QJsonDocument::fromJson(cli.out).object();
    const QJsonObject settings = status[u"settings"].toObject();
    const QJsonArray players = status[u"players"].toArray();
    QCOMPARE(std::pair(players.size(), status[u"etServer"].toBool(true)), std::pair(qsizetype(1), false));
    QCOMPARE((QStringList{settings[u"mapname"].toString(), settings[u"sv_hostname"].toString(),
                          players[0][u"name"].toString(), players[0][u"rawName"].toString()}),
             (QStringList{u"oa_dm1"_qs, u"^1Korvane test"_qs, u"Baron"_qs, u"^1Baron"_qs}));
}

QTEST_GUILESS_MAIN(TestOpenArena)
#include "tst_openarena.moc"
