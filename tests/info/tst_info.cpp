// The secondary windows' own traffic against a loopback server, and the fun window's master reset.

#include "testenv.h"

#include <QListWidget>

#include <tuple>

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Both ask at once and at every tick, emptying the list first, with the password of the moment; a disconnect
    // closes both, and they ask nothing more.
    void playerLists()
    {
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) { env.playerListRefreshMs = 250; });
        const QString log = s.reads("Form1", "Result"), list = u"map: oasis\r\n  0  48 Blue Fox\r\n"_s;
        s.answerWith({FakeServer::printReply("map: oasis\n"), FakeServer::printReply("  0  48 ^4Blue"),
                      FakeServer::printReply("\\Fox\n")});
        s.click("Form1", "btnNormalPopup");
        s.click("Form1", "btnPBPopup");
        QVERIFY(s.server.waitForDatagrams(2));
        QCOMPARE(s.server.received().mid(0, 2), (QList{rcon("secret status"), rcon("secret pb_sv_plist")}));
        const auto asked = [&s](const QByteArray &request) { return s.server.received().count(rcon(request)); };
        s.main.setServerFields(u"192.0.2.1"_s, u"1"_s, u"new pass"_s);
        QTRY_VERIFY(asked("new pass status") >= 2 && asked("new pass pb_sv_plist") >= 2);
        QCOMPARE(asked("secret status") + asked("secret pb_sv_plist") + asked("new pass status") +
                     asked("new pass pb_sv_plist"),
                 s.server.received().size());
        QTRY_COMPARE(s.reads("NormalPlayers", "NormalPlayers"), list);
        QTRY_COMPARE(s.reads("PBPlayers", "PBPlayers"), list);
        QCOMPARE(s.reads("Form1", "Result"), log);
        s.click("Form1", "btnDisconnect");
        QVERIFY(!window("NormalPlayers") && !window("PBPlayers"));
        s.server.clear();
        QTest::qWait(1000); // several refresh intervals
        QCOMPARE(s.server.received(), QList<QByteArray>());
    }

    // Asked once per opening, the answer is the window's own, saved as shown to the name chosen with ".txt" appended.
    void cheatersList()
    {
        ConnectedConsole s;
        const QString log = s.reads("Form1", "Result");
        s.program.saveFileAnswer = s.program.file(u"list"_s);
        s.answerWith({FakeServer::printReply("1 Bob\n")});
        s.click("Form1", "btnCheaters");
        s.click("Form1", "btnCheaters");
        QTRY_COMPARE(s.reads("Cheaters", "edtCheaters"), u"1 Bob\r\n"_s);
        QCOMPARE(s.reads("Form1", "Result"), log);
        s.click("Cheaters", "btnSave");
        QCOMPARE(testdata::bytesOrMissing(s.program.file(u"list.txt"_s)), QByteArray("1 Bob\r\n\r\n"));
        QCOMPARE(s.sent(), QList{rcon("secret cheaters")});
    }

    // A load's answer follows the config list, and asking for the list again replaces both.
    void configListAndLoad()
    {
        ConnectedConsole s;
        const QString list = u"Available configs:\r\n  comp\r\n  public\r\n"_s;
        s.answerWith({FakeServer::printReply("Available configs:\n  ^3comp\n  pub"), FakeServer::printReply("lic\n")});
        s.click("Frame2", "btnConfig");
        s.click("Frame2", "btnConfig");
        QTRY_COMPARE(s.reads("Config", "edtConfig"), list);
        s.answerWith({FakeServer::printReply("Loading\n")});
        s.click("Config", "btnConfig");
        s.type("Config", "edtConfig2", u" comp; \"x\" "_s);
        s.click("Config", "btnConfig");
        QTRY_COMPARE(s.reads("Config", "edtConfig"), list + u"Loading\r\nLoading\r\n"_s);
        s.click("Config", "btnGetConfig");
        QTRY_COMPARE(s.reads("Config", "edtConfig"), u"Loading\r\n"_s);
        QCOMPARE(s.sent(), (QList{rcon("secret config"), rcon("secret config .Config File Name"),
                                  rcon("secret config  comp; \"x\" "), rcon("secret config")}));
    }

    // Each datagram of the list loses its first three pieces; loading needs a selected entry that is not empty; a list
    // that only grows stops growing.
    void campaigns()
    {
        ConnectedConsole s;
        s.answerWith({FakeServer::printReply("a b c  cmpgn_north"), FakeServer::printReply("d e f ^#kept")});
        s.click("Form1", "btnOther");
        s.click("Form1", "btnOther");
        QTRY_COMPARE(s.reads("Other", "List1"), u"\ncmpgn_north\n^#kept"_s);
        s.answerWith({});
        for (int line : {0, 2}) {
            s.choose("Other", "List1", line);
            s.click("Other", "btnCampaign");
        }
        QCOMPARE(s.sent(), (QList{rcon("secret listcampaigns"), rcon("secret ref campaign ^#kept")}));
        s.answerWith({FakeServer::printReply("a b c" + QByteArray(" flood").repeated(1200))});
        window("Other")->close();
        s.click("Form1", "btnOther");
        QTRY_COMPARE(find<QListWidget>(window("Other"), "List1")->count(), 1000);
    }

    // Each reset leaves, then the window waits 800 ms: before the next reset, and before the closing message.
    void masterResetSpacesItsCommands()
    {
        bool resetting = false;
        QList<qsizetype> heardAtWait; // how many resets the server had heard at each wait of 800 ms
        ConnectedConsole s(u"english"_s, [&](korvane::ui::Environment &environment) {
            environment.wait = [&, realWait = environment.wait](int ms) {
                if (!resetting)
                    return realWait(ms);
                std::ignore = s.server.waitForDatagrams(int(heardAtWait.size()) + 1);
                heardAtWait.append(ms == 800 ? s.server.received().size() : -1);
            };
        });
        s.click("Form1", "btnOther");
        s.click("Other", "btnfuncommands");
        s.sent();
        s.server.clear();
        resetting = true;
        s.click("fun", "btnResetAll");
        QCOMPARE(s.program.messages, QStringList{u"'Fun' Cvars Reset"_s});
        QCOMPARE(heardAtWait, (QList<qsizetype>{1, 2, 3, 4, 5, 6, 7, 8}));
        QList<QByteArray> resets;
        for (const char *cvar : {"b_moverscale", "b_wolfrof", "b_shove_noz", "g_knifeonly", "g_gravity", "g_speed",
                                 "b_shove", "b_headshot"})
            resets.append(rcon(QByteArray("secret reset ") + cvar));
        QCOMPARE(s.server.received(), resets);
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
