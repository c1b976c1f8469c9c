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

using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

namespace {

// Windows that ask once per opening, on endpoints of their own: their answers are theirs alone. A load's answer
// follows the config list; asking again replaces it. Loading a campaign needs a selected entry that is not empty.
// clang-format off
constexpr struct {
    const char *name, *steps, *sent;
} Scenarios[] = {
    {"server without ETPro", ">Unknown command \"cheaters^7\"\n|Form1/btnCheaters|Form1/btnCheaters|"
     "Cheaters/edtCheaters?The server does not appear to be running ETPro\r\n", "secret cheaters"},
    {"another engine's wording is not recognised", ">@plain-rcon-good-cheaters.json|Form1/btnCheaters|"
     "Cheaters/edtCheaters?unknown command: \r\n", "secret cheaters"},
    {"config", ">Available configs:\n  ^3comp\n  pub|>lic\n|Frame2/btnConfig|Frame2/btnConfig|Config/lblConfig?Select "
     "ETPro .config File|Config/edtConfig?Available configs:\r\n  comp\r\n  public\r\n|>|>Loading\n|Config/btnConfig|"
     "Config/edtConfig2= comp; \"x\" |Config/btnConfig|Config/edtConfig?Available configs:\r\n  comp\r\n  public\r\n"
     "Loading\r\nLoading\r\n|Config/edtConfig2? comp; \"x\" |Config/btnGetConfig|Config/edtConfig?Loading\r\n",
     "secret config|secret config .Config File Name|secret config  comp; \"x\" |secret config"},
    {"each of two datagrams loses three pieces", ">a b c ^1cmpgn^7_north^q\nafrica|>d e f ^#kept|Form1/btnOther|"
     "Form1/btnOther|Other/List1?cmpgn_northafrica\n^#kept|>|Other/List1=1|Other/btnCampaign",
     "secret listcampaigns|secret ref campaign ^#kept"},
    {"an empty entry is not loaded", ">a b c  cmpgn_north|Form1/btnOther|Other/List1?\ncmpgn_north|>|Other/List1=0|"
     "Other/btnCampaign|Other/List1=1|Other/btnCampaign", "secret listcampaigns|secret ref campaign cmpgn_north"}};
// clang-format on

} // namespace

class TestInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Both ask at once and at every tick, emptying the list first, with the password of the moment.
    void playerLists()
    {
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) { env.playerListRefreshMs = 250; });
        const QString log = readable(&s.main, "Result"), list = u"map: oasis\r\n  0  48 Blue Fox\r\n"_s;
        QCOMPARE(s.play(u">map: oasis\n|>  0  48 ^4Blue|>\\Fox\n|Form1/btnNormalPopup|Form1/btnPBPopup"_s), QString());
        QVERIFY(QTest::qWaitFor([&] { return s.server.received().size() >= 2; }, 3000));
        QCOMPARE(s.server.received().mid(0, 2),
                 ConnectedConsole::requests("secret status|secret pb_sv_plist").mid(0, 2));
        const auto asked = [&s](const char *request) {
            return s.server.received().count(QByteArray(4, '\xFF') + "rcon " + request);
        };
        QCOMPARE(s.play(u"Form1/edtIP=192.0.2.1|Form1/edtPort=1|Form1/edtrconpassword=new pass"_s), QString());
        QVERIFY(
            QTest::qWaitFor([&] { return asked("new pass status") >= 2 && asked("new pass pb_sv_plist") >= 2; }, 5000));
        QCOMPARE(asked("secret status") + asked("secret pb_sv_plist") + asked("new pass status") +
                     asked("new pass pb_sv_plist"),
                 s.server.received().size());
        QCOMPARE(s.play(u"NormalPlayers/NormalPlayers?"_s + list + u"|PBPlayers/PBPlayers?"_s + list), QString());
        QCOMPARE(readable(&s.main, "Result"), log);
        QCOMPARE(s.play(u"Form1/btnDisconnect|NormalPlayers!|PBPlayers!"_s), QString());
        s.server.clear();
        QTest::qWait(1000); // several refresh intervals
        QCOMPARE(s.server.received(), QList<QByteArray>{});
    }

    void scenarios_data() { testdata::addRows(Scenarios); }
    void scenarios()
    {
        ConnectedConsole s;
        const QString log = readable(&s.main, "Result");
        QCOMPARE(s.play(QString::fromUtf8(testdata::current(Scenarios).steps)), QString());
        QCOMPARE(readable(&s.main, "Result"), log);
        QCOMPARE(s.sentThenMarker(), ConnectedConsole::requests(testdata::current(Scenarios).sent));
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
        QCOMPARE(s.play(u">1 Bob\n|Form1/btnCheaters|Cheaters/edtCheaters?1 Bob\r\n"_s), QString());
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
                seen << dialog->windowTitle() << dialog->nameFilters(), dialog->setDirectory(target.path());
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
            received = server.received(), arrivals = server.arrivals();
        }));
        thread->start();
        const auto stopServer = [&] { thread->quit(), thread->wait(5000); };
        const auto stopAtTheEnd = qScopeGuard(stopServer);
        QVERIFY(QTest::qWaitFor([&] { return port != 0; }, 5000));

        QPointer<QProgressBar> bar;
        QList<int> progress;
        QList<Clock::time_point> times;
        const auto record = [&] {
            if (bar)
                progress.append(bar->value()), times.append(Clock::now());
        };
        ConnectedConsole console(u"english"_s, [&](korvane::ui::Environment &environment) {
            environment.wait = [&, realWait = environment.wait](int ms) { record(), realWait(ms); };
            environment.message = [&, shown = environment.message](QWidget *parent, const QString &text) {
                record(), shown(parent, text);
            };
        });
        QCOMPARE(console.play(u"Form1/btnDisconnect|Form1/edtPort=%1|Form1/btnConnect|Form1/btnOther+|Form1/btnOther|"
                              "Other/btnfuncommands"_s.arg(port)),
                 QString());
        QVERIFY(window("fun"));
        bar = find<QProgressBar>(window("fun"), "Progress");
        click(window("fun"), "btnResetAll");
        QCOMPARE(console.program.messages, QStringList{u"'Fun' Cvars Reset"_s});
        QCOMPARE(progress, (QList<int>{0, 13, 26, 39, 52, 65, 78, 91, 100}));
        stopServer();
        QList<QByteArray> expected = ConnectedConsole::requests(
            "secret listcampaigns|secret reset b_moverscale|secret reset b_wolfrof|secret reset b_shove_noz|"
            "secret reset g_knifeonly|secret reset g_gravity|secret reset g_speed|secret reset b_shove|"
            "secret reset b_headshot");
        expected.removeLast(); // no marker
        QCOMPARE(received, QList<QByteArray>{QByteArray(4, '\xFF') + "getstatus"} + expected);
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
