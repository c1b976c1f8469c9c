#include "clirun.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

// korvane-rcon against a real Quake III-engine server on loopback. The server answers 10 requests from
// one address at once, then one a second: the whole test stays under ten.
namespace {
const QString ServerProgram = u"/usr/games/openarena-server"_qs;
const QString Password = u"korvane-e2e"_qs;
} // namespace

class TestOpenArena : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void statusParsed();
    void commandAnswered();
    void longAnswerGatheredWhole();
    void wrongPasswordRefused();

private:
    QString server() const { return u"127.0.0.1:"_qs + QString::number(m_port); }

    QTemporaryDir m_home;
    QProcess m_server;
    quint16 m_port = 0;
};

void TestOpenArena::initTestCase()
{
    if (!QFileInfo(ServerProgram).isExecutable())
        QSKIP("openarena-server is not installed (scripts/install-deps.sh installs it)");
    {
        QUdpSocket free;
        QVERIFY(free.bind(QHostAddress::LocalHost, 0));
        m_port = free.localPort();
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_qs, m_home.path());
    m_server.setProcessEnvironment(environment);
    m_server.setStandardOutputFile(m_home.filePath(u"server.log"_qs));
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    // IPv4 on loopback only, no master server; a bot so that the status has a player.
    const QStringList settings = {u"fs_homepath"_qs,  m_home.path(),   u"net_enabled"_qs, u"1"_qs,
                                  u"net_ip"_qs,       u"127.0.0.1"_qs, u"net_port"_qs,    QString::number(m_port),
                                  u"dedicated"_qs,    u"1"_qs,         u"sv_master1"_qs,  QString(),
                                  u"rconpassword"_qs, Password,        u"sv_hostname"_qs, u"^1Korvane test"_qs};
    QStringList arguments;
    for (qsizetype i = 0; i < settings.size(); i += 2)
        arguments << u"+set"_qs << settings.at(i) << settings.at(i + 1);
    arguments << u"+map"_qs << u"oa_dm1"_qs << u"+addbot"_qs << u"sarge"_qs << u"1"_qs << u"free"_qs << u"0"_qs
              << u"^1Baron"_qs;
    m_server.start(ServerProgram, arguments);
    QVERIFY(m_server.waitForStarted());

    // Ready once it answers the status probe; asked at most once a second, for half a minute.
    QUdpSocket probe;
    bool answered = false;
    for (int i = 0; i < 30 && !answered && m_server.state() == QProcess::Running; ++i) {
        probe.writeDatagram(QByteArray(4, '\xFF') + "getstatus", QHostAddress::LocalHost, m_port);
        answered = probe.waitForReadyRead(1000);
        if (!answered)
            QTest::qWait(100);
    }
    QVERIFY2(answered, "the server did not answer within 30 s; see server.log in its home folder");
}

void TestOpenArena::cleanupTestCase()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate(); // SIGTERM to its pid
    if (!m_server.waitForFinished(10000))
        m_server.kill();
}

void TestOpenArena::statusParsed()
{
    CliRun cli{{u"-s"_qs, server(), u"--status"_qs, u"--json"_qs}};
    QCOMPARE(cli.run().exitCode, 0);
    const QJsonObject status = QJsonDocument::fromJson(cli.out).object();
    QCOMPARE(status.value(u"etServer").toBool(true), false);
    QCOMPARE(status.value(u"settings").toObject().value(u"mapname").toString(), u"oa_dm1"_qs);
    QCOMPARE(status.value(u"settings").toObject().value(u"sv_hostname").toString(), u"^1Korvane test"_qs);
    const QJsonArray players = status.value(u"players").toArray();
    QCOMPARE(players.size(), 1);
    QCOMPARE(players.at(0).toObject().value(u"name").toString(), u"Baron"_qs);
    QCOMPARE(players.at(0).toObject().value(u"rawName").toString(), u"^1Baron"_qs);
}

void TestOpenArena::commandAnswered()
{
    CliRun cli{{u"-s"_qs, server(), u"say"_qs, u"hello"_qs, u"from"_qs, u"^2korvane"_qs}, {}, {}, Password};
    QCOMPARE(cli.run().exitCode, 0);
    QCOMPARE(cli.out, QByteArray("console: hello from korvane\n"));
}

void TestOpenArena::longAnswerGatheredWhole()
{
    CliRun cli{{u"-s"_qs, server(), u"cvarlist"_qs}, {}, {}, Password};
    QCOMPARE(cli.run().exitCode, 0);
    // The server sends at most about 1000 bytes of text per datagram.
    QVERIFY(cli.out.size() > 4000);
    // Every cvar line whole: nine flag columns, the name, the quoted value; a line cut at a datagram's
    // end would not match and the count would fall short.
    const QString text = QString::fromUtf8(cli.out);
    const QRegularExpressionMatch total =
        QRegularExpression(u"\n\n(\\d+) total cvars\n\\d+ cvar indexes\n$"_qs).match(text);
    QVERIFY2(total.hasMatch(), qPrintable(text.right(200)));
    const qsizetype cvars = text.count(QRegularExpression(u"(?m)^.{9} \\S+ \".*\"$"_qs));
    QCOMPARE(cvars, total.captured(1).toLongLong());
}

void TestOpenArena::wrongPasswordRefused()
{
    CliRun cli{{u"-s"_qs, server(), u"--password"_qs, u"wrong"_qs, u"status"_qs}};
    QCOMPARE(cli.run().exitCode, 3);
    QCOMPARE(cli.err,
             "korvane-rcon: " + server().toLatin1() + ": the server refused the rcon password (Bad rconpassword.)\n");
}

QTEST_GUILESS_MAIN(TestOpenArena)
#include "tst_openarena.moc"
