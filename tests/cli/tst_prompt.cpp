// korvane-rcon's prompt on a pseudo-terminal, against a loopback server whose command and variable lists
// come in several datagrams, a line split between two.

#include "fakeserver.h"

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
    void completesLearnedNamesRecallsAndQuits();

private:
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

    int m_terminal = -1;
    QByteArray m_seen;
};

void TestPrompt::completesLearnedNamesRecallsAndQuits()
{
#ifndef KORVANE_HAVE_READLINE
    QSKIP("built without GNU Readline: no completion");
#endif
    // Portable beside the build's korvane-rcon: its history is there.
    const QString history = QFileInfo(QString::fromUtf8(KORVANE_RCON)).path() + u"/korvane-rcon-history.txt"_s;
    QFile::remove(history);
    // The variables' flag columns as an ET server writes them, then as an openarena-server does.
    FakeServer server;
    server.setRconReplies({FakeServer::printReply("map_restart\nkick\n2 comm"),
                           FakeServer::printReply("ands\n S   A  sv_hostname \"^1x\"\nS    A    g_motd \"\"\n"
                                                  "2 total cvars\n")});
    const QByteArray address = "127.0.0.1:" + server.portText().toLatin1();
    const pid_t child = ::forkpty(&m_terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::setenv("KORVANE_RCON_PASSWORD", "pw", 1);
        ::execl(KORVANE_RCON, "korvane-rcon", "-s", address.constData(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::fcntl(m_terminal, F_SETFL, O_NONBLOCK);
    QVERIFY(waitFor("4 command and variable names learned"));
    QVERIFY(waitFor("> "));
    type("g_m\t");
    QVERIFY(waitFor("g_motd "));
    type("\x15sv_h\t");
    QVERIFY(waitFor("sv_hostname "));
    type("0\r");
    QVERIFY(waitFor("map_restart")); // the answer, as it comes
    QVERIFY(waitFor("> "));
    type("\x1b[A"); // Up
    QVERIFY(waitFor("sv_hostname 0"));
    type("\x03"); // Ctrl-C clears the line typed (and the terminal drops what follows it: wait)
    QVERIFY(waitFor("> "));
    type(":quit\r");
    int status = -1;
    for (int i = 0; i < 250 && ::waitpid(child, &status, WNOHANG) == 0; ++i)
        QTest::qWait(20);
    ::close(m_terminal);
    QCOMPARE(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    const QByteArray oob(4, '\xFF');
    QCOMPARE(server.received(),
             QList<QByteArray>({oob + "rcon pw cmdlist", oob + "rcon pw cvarlist", oob + "rcon pw sv_hostname 0"}));
    QCOMPARE(QFile(history).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    QFile::remove(history);
}

QTEST_MAIN(TestPrompt)
#include "tst_prompt.moc"
