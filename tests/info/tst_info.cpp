// The secondary windows' own traffic against a loopback server, and the fun window's master reset.

#include "testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <atomic>

using Clock = std::chrono::steady_clock;

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Both ask at once and at every tick, emptying the list first, with the password of the moment.
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
    }

    // A disconnect closes both lists, and they ask nothing more.
    void playerListsEndWithTheConnection()
    {
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) { env.playerListRefreshMs = 250; });
        s.click("Form1", "btnNormalPopup");
        s.click("Form1", "btnPBPopup");
        QVERIFY(s.server.waitForDatagrams(2));
        s.click("Form1", "btnDisconnect");
        QVERIFY(!window("NormalPlayers") && !window("PBPlayers"));
        s.server.clear();
        QTest::qWait(1000); // several refresh intervals
        QCOMPARE(s.server.received(), QList<QByteArray>());
    }

    void cheatersList_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<QString>("shown");
        QTest::newRow("server without ETPro") << QList{FakeServer::printReply("Unknown command \"cheaters^7\"\n")}
                                              << u"The server does not appear to be running ETPro\r\n"_s;
        QTest::newRow("another engine's wording is not recognised")
            << testdata::captureReplies(u"plain-rcon-good-cheaters.json"_s) << u"unknown command: \r\n"_s;
    }

    // The window asks once per opening, and its answer is its own.
    void cheatersList()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QString, shown);
        ConnectedConsole s;
        const QString log = s.reads("Form1", "Result");
        s.answerWith(replies);
        s.click("Form1", "btnCheaters");
        s.click("Form1", "btnCheaters");
        QTRY_COMPARE(s.reads("Cheaters", "edtCheaters"), shown);
        QCOMPARE(s.reads("Form1", "Result"), log);
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

    void campaigns_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QByteArray>("loaded");
        QTest::newRow("each of two datagrams loses three pieces")
            << QList{FakeServer::printReply("a b c ^1cmpgn^7_north^q\nafrica"), FakeServer::printReply("d e f ^#kept")}
            << u"cmpgn_northafrica\n^#kept"_s << QList{1} << QByteArray("^#kept");
        QTest::newRow("an empty entry is not loaded") << QList{FakeServer::printReply("a b c  cmpgn_north")}
                                                      << u"\ncmpgn_north"_s << QList{0, 1} << QByteArray("cmpgn_north");
    }

    // Loading a campaign needs a selected entry that is not empty.
    void campaigns()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QString, listed);
        QFETCH(QList<int>, chosen);
        QFETCH(QByteArray, loaded);
        ConnectedConsole s;
        s.answerWith(replies);
        s.click("Form1", "btnOther");
        s.click("Form1", "btnOther");
        QTRY_COMPARE(s.reads("Other", "List1"), listed);
        s.answerWith({});
        for (int line : chosen) {
            s.choose("Other", "List1", line);
            s.click("Other", "btnCampaign");
        }
        QCOMPARE(s.sent(), (QList{rcon("secret listcampaigns"), rcon("secret ref campaign " + loaded)}));
    }

    // The program's own save dialog: "list" is typed, "list.txt" written, so the question is about "list.txt".
    void saveAsksAboutTheFileWritten()
    {
        QTemporaryDir target;
        const QString existing = target.filePath(u"list.txt"_s);
        QVERIFY(testdata::writeBytes(existing, "older list\r\n"));
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) {
            env.saveFileName = korvane::ui::Environment({}).saveFileName;
        });
        s.answerWith({FakeServer::printReply("1 Bob\n")});
        s.click("Form1", "btnCheaters");
        QTRY_COMPARE(s.reads("Cheaters", "edtCheaters"), u"1 Bob\r\n"_s);
        QStringList seen; // the dialog's title and filters, then the message box as "title|text"
        int ticks = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (++ticks > 200 && modal) { // give up after ten seconds, so the test ends either way
                modal->close();
            } else if (dialog && seen.isEmpty()) {
                seen << dialog->windowTitle() << dialog->nameFilters();
                dialog->setDirectory(target.path());
                dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(u"list"_s);
                // Clicked from the event loop: the click opens a message box of its own.
                QAbstractButton *save = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save);
                QTimer::singleShot(0, save, [save] { save->click(); });
            } else if (box && seen.size() == 2) {
                seen << box->windowTitle() + u'|' + box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        user.start(50);
        click(window("Cheaters"), "btnSave");
        user.stop();
        QCOMPARE(seen, (QStringList{u"Save File"_s, u"Text File (*.txt)"_s,
                                    u"Save File|"_s + QDir::toNativeSeparators(existing) +
                                        u" already exists.\nDo you want to replace it?"_s}));
        QCOMPARE(testdata::bytesOrMissing(existing), QByteArray("1 Bob\r\n\r\n"));
    }
    void masterResetSpacesItsCommands()
    {
        // A server on a thread of its own stamps each datagram as it arrives, while the console sleeps between them.
        QList<QByteArray> received;
        QList<Clock::time_point> arrivals;
        std::atomic<quint16> port = 0;
        std::unique_ptr<QThread> thread(QThread::create([&] {
            FakeServer server;
            port = server.port();
            QEventLoop().exec();
            received = server.received();
            arrivals = server.arrivals();
        }));
        thread->start();
        const auto stopServer = [&] {
            thread->quit();
            thread->wait(5000);
        };
        const auto stopAtTheEnd = qScopeGuard(stopServer);
        QVERIFY(QTest::qWaitFor([&] { return port != 0; }, 5000));

        QPointer<QProgressBar> bar;
        QList<int> progress;
        QList<Clock::time_point> times;
        const auto record = [&] {
            if (bar) {
                progress.append(bar->value());
                times.append(Clock::now());
            }
        };
        ConnectedConsole console(u"english"_s, [&](korvane::ui::Environment &environment) {
            environment.wait = [&, realWait = environment.wait](int ms) {
                record();
                realWait(ms);
            };
            environment.message = [&, shown = environment.message](QWidget *parent, const QString &text) {
                record();
                shown(parent, text);
            };
        });
        console.click("Form1", "btnDisconnect");
        console.type("Form1", "edtPort", QString::number(port));
        console.click("Form1", "btnConnect");
        QTRY_VERIFY(console.main.isConnected());
        console.click("Form1", "btnOther");
        console.click("Other", "btnfuncommands");
        QVERIFY(window("fun"));
        bar = find<QProgressBar>(window("fun"), "Progress");
        click(window("fun"), "btnResetAll");
        QCOMPARE(console.program.messages, QStringList{u"'Fun' Cvars Reset"_s});
        QCOMPARE(progress, (QList<int>{0, 13, 26, 39, 52, 65, 78, 91, 100}));
        stopServer();
        QList<QByteArray> expected{QByteArray(4, '\xFF') + "getstatus", rcon("secret listcampaigns")};
        for (const char *cvar : {"b_moverscale", "b_wolfrof", "b_shove_noz", "g_knifeonly", "g_gravity", "g_speed",
                                 "b_shove", "b_headshot"})
            expected.append(rcon(QByteArray("secret reset ") + cvar));
        QCOMPARE(received, expected);
        // Each reset, and the message after the last, comes 800 ms after the one before (less 50 ms of wake-up).
        arrivals.append(times.constLast());
        for (qsizetype i = 3; i < arrivals.size(); ++i) {
            const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(arrivals[i] - arrivals[i - 1]);
            QVERIFY2(gap.count() >= 750, qPrintable(u"only %1 ms before %2"_s.arg(gap.count()).arg(i)));
        }
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
