// korvane-rcon's prompt on a pseudo-terminal: against a loopback server whose command and variable lists come in
// several datagrams, a line split between two, and against a real Quake III-engine server.

#include "fakeserver.h"
#include "openarena.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

class TestPrompt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void completesLearnedNamesRecallsAndQuits();
    void learnsTheRealServersNames();

private:
    // korvane-rcon with a prompt for the server at `address`, password "pw", on a new terminal.
    void start(const QByteArray &address)
    {
        m_child = ::forkpty(&m_terminal, nullptr, nullptr, nullptr);
        if (m_child == 0) {
            ::setenv("KORVANE_RCON_PASSWORD", "pw", 1);
            ::execl(KORVANE_RCON, "korvane-rcon", "-s", address.constData(), static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::fcntl(m_terminal, F_SETFL, O_NONBLOCK);
    }
    // Reads the terminal, the event loop running, until `expected` has appeared since the last call.
    bool waitFor(const QByteArray &expected)
    {
        for (int i = 0; i < 250 && !m_seen.contains(expected); ++i) {
            char buffer[4096];
            const ssize_t got = ::read(m_terminal, buffer, sizeof buffer);
            if (got > 0)
                m_seen += QByteArray(buffer, got);
            else
                QTest::qWait(20);
        }
        const bool found = m_seen.contains(expected);
        m_seen = m_seen.mid(m_seen.indexOf(expected) + expected.size());
        return found;
    }
    void type(const QByteArray &keys) { QCOMPARE(::write(m_terminal, keys.constData(), keys.size()), keys.size()); }
    int exitStatus()
    {
        int status = -1;
        for (int i = 0; i < 250 && ::waitpid(m_child, &status, WNOHANG) == 0; ++i)
            QTest::qWait(20);
        ::close(m_terminal);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Portable beside the build's korvane-rcon: its history is there.
    const QString m_history = QFileInfo(QString::fromUtf8(KORVANE_RCON)).path() + u"/korvane-rcon-history.txt"_s;
    pid_t m_child = -1;
    int m_terminal = -1;
    QByteArray m_seen;
};

void TestPrompt::init()
{
#ifndef KORVANE_HAVE_READLINE
    QSKIP("built without GNU Readline: no completion");
#endif
    QFile::remove(m_history);
    m_seen.clear();
}

void TestPrompt::completesLearnedNamesRecallsAndQuits()
{
    FakeServer server;
    server.setRconReplies({FakeServer::printReply("map_restart\nkick\n2 comm"),
                           FakeServer::printReply("ands\n S   A  sv_hostname \"^1x\"\n1 total cvars\n")});
    start("127.0.0.1:" + server.portText().toLatin1());
    QVERIFY(waitFor("3 command and variable names learned"));
    QVERIFY(waitFor("> "));
    type("sv_h\t");
    QVERIFY(waitFor("sv_hostname "));
    type("0\r");
    QVERIFY(waitFor("map_restart")); // the answer, as it comes
    QVERIFY(waitFor("> "));
    type("\x1b[A"); // Up
    QVERIFY(waitFor("sv_hostname 0"));
    type("\x03"); // Ctrl-C clears the line typed (and the terminal drops what follows it: wait)
    QVERIFY(waitFor("> "));
    type(":quit\r");
    QCOMPARE(exitStatus(), 0);
    const QByteArray oob(4, '\xFF');
    QCOMPARE(server.received(),
             QList<QByteArray>({oob + "rcon pw cmdlist", oob + "rcon pw cvarlist", oob + "rcon pw sv_hostname 0"}));
    QCOMPARE(QFile(m_history).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    QFile::remove(m_history);
}

void TestPrompt::learnsTheRealServersNames()
{
    if (!OpenArena::installed())
        QSKIP("openarena-server is not installed (scripts/install-deps.sh installs it)");
    OpenArena server;
    QVERIFY2(server.start(u"+set rconpassword pw +map oa_dm1"_s),
             "the server did not answer within 30 s; see server.log in its home folder");
    start(server.address().toLatin1());
    QVERIFY(waitFor("names learned"));
    type("map_rest\t");
    QVERIFY(waitFor("map_restart "));
    type("\x15sv_hostn\t");
    QVERIFY(waitFor("sv_hostname "));
    type("\x15:quit\r");
    QCOMPARE(exitStatus(), 0);
    QFile::remove(m_history);
}

QTEST_MAIN(TestPrompt)
#include "tst_prompt.moc"
