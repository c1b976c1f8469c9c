// The main window and every command button and dialog against a loopback server: the exact bytes of each command.

#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "testenv.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The steps a user takes (see ConnectedConsole::play), and the one command that arrives (null: nothing). A player's
// field, like the password, is read at "Yes" or "Proceed"; the label shows it as it was at opening.
struct Send {
    const char *name, *command;
};
// clang-format off
constexpr Send Sends[] = {
    {"Form1/btnPlayers", " status"}, {"Form1/btnPBPlayers", " pb_sv_plist"},
    {"Form1/edtPBSS=3|Form1/btnPBSS", " pb_sv_getss 3"}, {"Form1/edtAList=4|Form1/btnAList", " PB_SV_AList 4"},
    {"Form1/edtIPGuard=5|Form1/btnIPGuard", " PB_SV_IPGuard 5"}, {"Form1/btnBanList", " pb_sv_banlist"},
    {"Form1/edtBanID=12|Form1/btnUnbanID", " pb_sv_unban 12"},
    {"Form1/edtBanGUID=abcdef01|Form1/btnUnbanGUID", " pb_sv_unbanguid abcdef01"},
    {"Form1/edtAdditional=map oasis|Form1/btnAdditional", " map oasis"},
    {"Form1/edtAdditional=|Form1/btnAdditional", " "}, {"Form1/btnUnlock", " g_password \""},
    {"Form1/edtExec=server.cfg|Form1/btnExec", " exec server.cfg"},
    {"Form1/edtSay=  hi ; \"all\" |Form1/btnSay", " say   hi ; \"all\" "}, {"Form1/edtSay=|Form1/btnSay", " say "},
    {"Form1/edtChangePass=letmein|Form1/btnChangePass", " g_password letmein"},
    {"Form1/btnSay", " say Type the message you want to be shown in global chat."},
    {"Form1/btnExec", " exec .cfg File Name"}, {"Form1/btnPBSS", " pb_sv_getss Client PB Slot #"},
    {"Other/btnPause", " ref pause"}, {"Other/btnResume", " ref unpause"}, {"Other/btnStartMatch", " ref startmatch"},
    {"Other/edtMap=café|Other/btnMap", " ref map caf\xE9"},
    {"Other/edtTimeLimit=30|Other/btnTimeLimit", " ref timelimit 30"}, {"Other/btnLock", " ref lock"},
    {"Other/btnUnlock", " ref unlock"}, {"Other/btnCoin", " ref cointoss"}, {"Other/btnAllReady", " ref allready"},
    {"Other/btnBTeamOn", " ref balancedteams 1"}, {"Other/btnBTeamOff", " ref balancedteams 0"},
    {"Other/edtPutAllies=4|Other/btnPutAllies", " ref putallies 4"},
    {"Other/edtPutAxis=5|Other/btnPutAxis", " ref putaxis 5"},
    {"Other/edtUnReferee=6|Other/btnUnReferee", " ref unreferee 6"},
    {"Other/edtRemove= 7 |Other/btnRemove", " ref remove  7 "}, {"Other/btnFFon", " ref friendlyfire 1"},
    {"Other/btnFFoff", " ref friendlyfire 0"}, {"Other/btnMuteS", " ref mutespecs 1"},
    {"Other/btnUnMuteS", " ref mutespecs 0"}, {"Other/btnSpecLock", " ref speclock"},
    {"Other/btnSpecUnlock", " ref specunlock"}, {"Other/edtMute=2|Other/btnMute", " ref mute 2"},
    {"Other/edtMute=|Other/btnMute", " ref mute "}, {"Other/edtUnMute=2|Other/btnUnMute", " ref unmute 2"},
    {"Other/edtWarn=9|Other/btnWarn", " ref warn 9"}, {"Other/btnPub", " ref pub"}, {"Other/btnComp", " ref comp"},
    {"Other/btnWarmup", " ref warmup Warmup Period (Seconds)"}, {"Other/btnGametype", nullptr},
    {"Other/Combo1=2 - Objective|Other/btnGametype", " ref gametype 2"},
    {"Other/Combo1=3 - Stopwatch|Other/btnGametype", " ref gametype 3"},
    {"Other/Combo1=4 - Campaign|Other/btnGametype", " ref gametype 4"},
    {"Other/Combo1=5 - Last Man Standing|Other/btnGametype", " ref gametype 5"}, {"Other/btnWarmupDamage", nullptr},
    {"Other/Combo2=0 - None|Other/btnWarmupDamage", " ref warmupdamage 0"},
    {"Other/Combo2=1 - Enemy|Other/btnWarmupDamage", " ref warmupdamage 1"},
    {"Other/Combo2=2 - Everyone|Other/btnWarmupDamage", " ref warmupdamage 2"},
    {"fun/edtgravity=400|fun/btngravity", " g_gravity 400"}, {"fun/btngravity", " g_gravity 800"},
    {"fun/btnGravityReset", " reset g_gravity"}, {"fun/btnSpeed", " g_speed 320"},
    {"fun/btnSpeedReset", " reset g_speed"}, {"fun/btnShove", " b_shove 80"}, {"fun/btnShoveReset", " reset b_shove"},
    {"fun/btnShove_nozOn", " b_shove_noz 0"}, {"fun/btnShove_nozOff", " b_shove_noz 1"},
    {"fun/btnMoverscale", " b_moverscale 1"}, {"fun/btnmoverscaleReset", " reset b_moverscale"},
    {"fun/btnWolfrofOn", " b_wolfrof 1"}, {"fun/btnWolfrofOff", " b_wolfrof 0"},
    {"fun/btnknifeonlyOn", " g_knifeonly 1"}, {"fun/btnknifeonlyOff", " g_knifeonly 0"}, {"fun/btnheadshot", nullptr},
    {"fun/Combo1=0 - Off|fun/btnheadshot", " b_headshot 0"},
    {"fun/Combo1=1 - Headshot only|fun/btnheadshot", " b_headshot 1"},
    {"fun/Combo1=2 - Instagib|fun/btnheadshot", " b_headshot 2"},
    {"fun/Combo1=3 - Instagib with headshot|fun/btnheadshot", " b_headshot 3"},
    {"fun/btnHeadshotReset", " reset b_headshot"},
    {"Form1/btnKill|Sure/lblAction2?Kill the server|Sure/lblInput2?Not applicable|Sure/btnSureOK", " killserver"},
    {"Form1/btnRestartServer|Sure/btnSureOK", " exec server"}, {"Form1/btnUnbanAll|Sure/btnSureOK", " pb_sv_banempty"},
    {"Other/btnMapRestart|Sure/btnSureOK", " ref restart"}, {"Other/btnNextmap|Sure/btnSureOK", " ref nextmap"},
    {"Other/btnMatchReset|Sure/btnSureOK", " ref matchreset"},
    {"Other/btnShuffle|Sure/btnSureOK", " ref shuffleteamsxp"},
    {"Other/btnShuffle2|Sure/btnSureOK", " ref shuffleteamsxp_norestart"},
    {"Other/btnSwap|Sure/btnSureOK", " ref swapteams"},
    {"Other/edtReferee=3|Other/btnReferee|Sure/lblAction2?Give referee status|Sure/lblInput2?Player ID Number: 3|"
     "Other/edtReferee=5|Sure/btnSureOK", " ref referee 5"},
    {"Other/edtReferee=|Other/btnReferee|Sure/lblInput2?Player ID Number: |Other/edtReferee=|Sure/btnSureOK",
     " ref referee "},
    {"Other/edtReferee=x|Other/btnReferee|Sure/lblInput2?Player ID Number: x|Other/edtReferee= 7 |Sure/btnSureOK",
     " ref referee  7 "},
    {"Form1/edtSlot1=stale|Form1/btnKick|Reason/edtReason-|Reason/edtLength-|Reason/edtLength=10|Reason/edtReason=r|"
     "Form1/edtSlot1=4|Reason/btnProceed", " clientkick 4"},
    {"Form1/edtSlot3=stale|Form1/btnNameKick|Reason/edtReason-|Reason/edtLength-|Form1/edtSlot3= Big \"Bad\" Wolf |"
     "Reason/btnProceed", " kick  Big \"Bad\" Wolf "},
    {"Form1/edtSlot2=stale|Form1/btnBan|Reason/edtReason-|Reason/edtLength-|Form1/edtSlot2=Zoë|Reason/btnProceed",
     " ban Zo\xeb"},
    {"Form1/edtSlot4=stale|Form1/btnPBKickNum|Reason/lblAction2?PB Kick By Slot #|Reason/lblAction2-|"
     "Reason/edtReason+|Reason/edtLength+|Reason/edtLength=10|Reason/edtReason=a b\\c|Form1/edtSlot4=3|"
     "Reason/btnProceed", " pb_sv_kick 3 10 a b\\c"},
    {"Form1/edtSlot5=stale|Form1/btnPBKick|Reason/edtReason+|Reason/edtLength+|Form1/edtSlot5=name|Reason/btnProceed",
     " pb_sv_kick name  "},
    {"Form1/edtSlot6=stale|Form1/btnPBBan|Reason/edtReason+|Reason/edtLength-|Reason/edtLength=10|"
     "Reason/edtReason=a b\\c|Form1/edtSlot6=name|Reason/btnProceed", " pb_sv_ban name a b\\c"},
    {"Form1/edtSlot8=stale|Form1/btnPBBanSlot|Reason/edtReason+|Reason/edtLength-|Reason/edtReason=spam|"
     "Form1/edtSlot8=7|Reason/btnProceed", " pb_sv_ban 7 spam"},
    {"Form1/edtSlot7=stale|Form1/btnPBBanGUID|Reason/edtReason-|Reason/edtLength-|Form1/edtSlot7=0123abcd|"
     "Reason/btnProceed", " pb_sv_banguid 0123abcd "},
    {"Form1/edtPBBanmask=stale|Form1/btnPBBanMask|Reason/edtReason-|Reason/edtLength-|Reason/edtLength=10|"
     "Reason/edtReason=r|Form1/edtPBBanmask=10.0.*.*|Reason/btnProceed", " pb_sv_banmask 10.0.*.*"}};
// clang-format on

// clang-format off
constexpr struct {
    const char *name;
    FakeServer::Mode mode;
    const char *port, *password, *logged; // the port else the server's; after the start text, or a message box's
} Connects[] = {
    {"ET server", FakeServer::Mode::EtServer, "", "secret", "\r\n\r\nConnecting...\r\n<status>\r\nKorvane Client: Server running ET\r\n"},
    {"another game's server", FakeServer::Mode::PlainServer, "", "secret",
     "\r\n\r\nConnecting...\r\n<status>\r\nKorvane Client: Server does not appear to be running ET\r\n"},
    {"empty password", FakeServer::Mode::EtServer, "", "", "Please enter values for all server fields!"},
    {"port not a number", FakeServer::Mode::EtServer, "27960x", "secret", "The server port must be a whole number from 1 to 65535."}};
// clang-format on

// Two requests to the server, the second `afterMs` after the first; what follows; what the server gets in the end.
// The player list popup sends on an endpoint of its own.
enum class Then { Nothing, Disconnect, ClosePlayerList };
constexpr struct {
    const char *name, *first;
    int afterMs;
    const char *second;
    Then then;
    const char *sent;
} Spacings[] = {
    {"two clicks 100 ms apart", "btnPlayers", 100, "btnPBPlayers", Then::Nothing, "secret status|secret pb_sv_plist"},
    {"a click 600 ms later", "btnPlayers", 600, "btnPBPlayers", Then::Nothing, "secret status|secret pb_sv_plist"},
    {"a player list and a click", "btnNormalPopup", 100, "btnPBPlayers", Then::Nothing,
     "secret status|secret pb_sv_plist"},
    {"Disconnect drops what waits, connecting again at once", "btnPlayers", 100, "btnPBPlayers", Then::Disconnect,
     "secret status"},
    {"a closed window sends nothing more", "btnPlayers", 100, "btnNormalPopup", Then::ClosePlayerList,
     "secret status"}};

// Commands typed into the command field and sent with Return, a line then typed and not sent, and keys pressed in the
// field: what it shows afterwards.
constexpr struct {
    const char *name;
    std::array<const char *, 3> sent;
    const char *typing;
    std::array<Qt::Key, 4> keys;
    const char *shows;
} Recalls[] = {
    {"newest first, to the oldest", {"a", "b", "c"}, "x", {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}, "a"},
    {"after sending, Up skips the line shown", {"a", "b"}, nullptr, {Qt::Key_Up}, "a"},
    {"Down back to the line typed", {"a", "b"}, "x", {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}, "x"},
    {"the same line twice kept once", {"a", "b", "b"}, "x", {Qt::Key_Up, Qt::Key_Up}, "a"}};

void typeAndSend(QLineEdit *field, const char *text, bool send = true)
{
    field->clear();
    QTest::keyClicks(field, QString::fromUtf8(text));
    if (send)
        QTest::keyClick(field, Qt::Key_Return);
}

// The main window's buttons and fields enabled "now", or in a set: connecting swaps the server controls for the rest.
QStringList controls(const QWidget &main, QStringView which = u"now")
{
    static const QStringList server = {u"btnConnect"_s, u"edtIP"_s, u"edtPort"_s, u"edtrconpassword"_s};
    QStringList names;
    for (const QWidget *w : main.findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (w->window() == &main && name != u"edtState" &&
            (qobject_cast<const QPushButton *>(w) || qobject_cast<const QLineEdit *>(w)) &&
            (which == u"now" ? w->isEnabled()
                             : name == u"Command1" || server.contains(name) == (which == u"disconnected")))
            names.append(name);
    }
    names.sort();
    return names;
}

} // namespace

class TestConsole : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void connects_data() { testdata::addRows(Connects); }

    // The probe's answer is logged and decides; later replies follow after a CR LF, unless the answer was wrong.
    void connects()
    {
        const auto &c = testdata::current(Connects);
        TestProgram program;
        FakeServer server(c.mode);
        korvane::console::MainWindow main(program.environment());
        main.show();
        const QString start =
            u"Korvane Client: Korvane loaded. Korvane Client: Enter/select server details and Connect to login."_s;
        QCOMPARE(readable(&main, "Result"), start);
        QCOMPARE(find<QLineEdit>(&main, "edtrconpassword")->echoMode(), QLineEdit::Password);
        const QString logged = QString::fromLatin1(c.logged).replace(
            u"<status>"_s, korvane::rcon::cleanReply(korvane::rcon::fromWire(FakeServer::statusReply(c.mode))));
        find<QLineEdit>(&main, "edtIP")->setText(u"127.0.0.1"_s);
        find<QLineEdit>(&main, "edtPort")
            ->setText(*c.port ? QString::fromLatin1(c.port) : QString::number(server.port()));
        find<QLineEdit>(&main, "edtrconpassword")->setText(QString::fromLatin1(c.password));
        click(&main, "btnConnect");
        const bool refused = !logged.startsWith(u"\r\n"), isEt = logged.contains(u"Server running ET"_s);
        std::ignore = QTest::qWaitFor([&] { return readable(&main, "Result") == start + logged; }, 3000);
        server.sendToClient(FakeServer::printReply("late"));
        QTest::qWait(100);
        QCOMPARE(readable(&main, "Result"), refused ? start : start + logged + (isEt ? u"\r\nlate"_s : QString()));
        QCOMPARE(program.messages, refused ? QStringList{logged} : QStringList());
        QCOMPARE(server.received(), QList<QByteArray>(!refused, korvane::rcon::statusProbe()));
        QCOMPARE(controls(main), controls(main, isEt ? u"connected" : u"disconnected"));
        QCOMPARE(readable(&main, "edtState"), isEt ? u"1"_s : u"0"_s);
    }

    void sends_data() { testdata::addRows(Sends); }
    void sends()
    {
        const Send &send = testdata::current(Sends);
        ConnectedConsole s;
        QCOMPARE(s.play(u"Form1/btnOther|Other/btnfuncommands"_s), QString());
        s.sentThenMarker(); // the game play window's own first request
        s.server.clear();
        const QString log = readable(&s.main, "Result");
        QCOMPARE(s.play(u"Form1/edtrconpassword=other|"_s + QString::fromUtf8(send.name) +
                        u"|Form1/edtrconpassword=secret|Sure!|Reason!"_s),
                 QString());
        QCOMPARE(s.sentThenMarker(),
                 ConnectedConsole::requests(send.command ? QByteArray("other") + send.command : QByteArray()));
        QCOMPARE(readable(&s.main, "Result"), log);
    }

    void spacing_data() { testdata::addRows(Spacings); }

    // However quick the clicks, from whichever window, requests reach the server half a second apart and in order;
    // a request that comes later leaves at once.
    void spacing()
    {
        const auto &row = testdata::current(Spacings);
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) { env.requestSpacingMs = 500; });
        const auto start = std::chrono::steady_clock::now(); // arrivals are stamped when read: they may lag
        click(&s.main, row.first);
        QVERIFY(s.server.waitForDatagrams(1));
        QTest::qWait(row.afterMs);
        click(&s.main, row.second);
        const auto clicked = std::chrono::steady_clock::now();
        if (row.then == Then::Disconnect) {
            click(&s.main, "btnDisconnect");
            click(&s.main, "btnConnect");
        }
        if (row.then == Then::ClosePlayerList)
            window("NormalPlayers")->close();
        QTest::qWait(800);
        QList<QByteArray> sent = ConnectedConsole::requests(row.sent);
        sent.removeLast(); // no marker
        QList<QByteArray> received = s.server.received();
        received.removeAll(korvane::rcon::statusProbe()); // connecting again
        QCOMPARE(received, sent);
        if (sent.size() == 2) {
            QVERIFY(s.server.arrivals().at(1) - start >= std::chrono::milliseconds(500));
            QVERIFY(s.server.arrivals().at(1) - clicked <
                    std::chrono::milliseconds(std::max(0, 500 - row.afterMs) + 200));
        }
    }

    void recallsWithKeys_data() { testdata::addRows(Recalls); }
    void recallsWithKeys()
    {
        const auto &row = testdata::current(Recalls);
        ConnectedConsole s;
        auto *field = find<QLineEdit>(&s.main, "edtAdditional");
        for (const char *line : row.sent)
            if (line)
                typeAndSend(field, line);
        if (row.typing)
            typeAndSend(field, row.typing, false);
        for (Qt::Key key : row.keys)
            if (key)
                QTest::keyClick(field, key);
        QCOMPARE(field->text(), QString::fromUtf8(row.shows));
    }

    // Return sends what the button sends; the history holds its newest thousand lines, only for its owner, and the
    // next run recalls them.
    void historyKeptAcrossRuns()
    {
        QByteArray thousand;
        for (int i = 0; i < 1000; ++i)
            thousand += "cmd " + QByteArray::number(i) + '\n';
        ConnectedConsole first(u"english"_s, [&](korvane::ui::Environment &env) {
            QVERIFY(testdata::writeBytes(env.settings.locations().historyFile(), thousand));
        });
        typeAndSend(find<QLineEdit>(&first.main, "edtAdditional"), "g_password new");
        QCOMPARE(first.sentThenMarker(), ConnectedConsole::requests("secret g_password new"));
        const QString file = first.program.file(u"history.txt"_s);
        QCOMPARE(testdata::bytesOrMissing(file), thousand.mid(6) + "g_password new\n");
        QVERIFY(testdata::isOwnerOnly(file));
        ConnectedConsole second(u"english"_s, [&](korvane::ui::Environment &env) {
            env.settings = korvane::settings::ProgramSettings(first.program.dir.path());
        });
        QTest::keyClick(find<QLineEdit>(&second.main, "edtAdditional"), Qt::Key_Up);
        QCOMPARE(find<QLineEdit>(&second.main, "edtAdditional")->text(), u"g_password new"_s);
        QCOMPARE(first.program.messages + second.program.messages, QStringList());
    }

    // A folder where the history file should be: said once, and the field still recalls for this run.
    void unusableHistorySaidOnce()
    {
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) {
            QVERIFY(QDir().mkdir(env.settings.locations().historyFile()));
        });
        auto *field = find<QLineEdit>(&s.main, "edtAdditional");
        typeAndSend(field, "a");
        typeAndSend(field, "b");
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(field->text(), u"a"_s);
        QCOMPARE(s.program.messages.size(), 1);
        QVERIFY2(s.program.messages.constFirst().startsWith(u"The command history \""_s +
                                                            QDir::toNativeSeparators(s.program.file(u"history.txt"_s))),
                 qPrintable(s.program.messages.constFirst()));
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
