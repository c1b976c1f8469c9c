// The main window and every command button and dialog against a loopback server: the exact bytes of each command.

#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "testenv.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

// The byte contract: what each button sends after "password", pressed alone or after typing into a field.
// A null command: the button sends nothing.
struct Send {
    const char *button, *field, *typed, *sent;
    const char *length = "", *reason = ""; // the kick/ban dialog's fields
};
constexpr Send press(const char *button, const char *sent)
{
    return {button, nullptr, nullptr, sent};
}
constexpr Send typed(const char *field, const char *text, const char *button, const char *sent)
{
    return {button, field, text, sent};
}
// clang-format off
constexpr Send MainSends[] = {
    press("btnPlayers", " status"), press("btnPBPlayers", " pb_sv_plist"), press("btnBanList", " pb_sv_banlist"),
    typed("edtPBSS", "3", "btnPBSS", " pb_sv_getss 3"), typed("edtAList", "4", "btnAList", " PB_SV_AList 4"),
    typed("edtIPGuard", "5", "btnIPGuard", " PB_SV_IPGuard 5"), press("btnUnlock", " g_password \""),
    typed("edtBanID", "12", "btnUnbanID", " pb_sv_unban 12"),
    typed("edtBanGUID", "abcdef01", "btnUnbanGUID", " pb_sv_unbanguid abcdef01"),
    typed("edtAdditional", "map oasis", "btnAdditional", " map oasis"), typed("edtAdditional", "", "btnAdditional", " "),
    typed("edtExec", "server.cfg", "btnExec", " exec server.cfg"), typed("edtSay", "", "btnSay", " say "),
    typed("edtSay", "  hi ; \"all\" ", "btnSay", " say   hi ; \"all\" "),
    press("btnSay", " say Type the message you want to be shown in global chat."),
    typed("edtChangePass", "letmein", "btnChangePass", " g_password letmein")};
constexpr Send GamePlaySends[] = {
    press("btnPause", " ref pause"), press("btnResume", " ref unpause"), press("btnStartMatch", " ref startmatch"),
    press("btnLock", " ref lock"), press("btnUnlock", " ref unlock"), press("btnCoin", " ref cointoss"),
    press("btnAllReady", " ref allready"), press("btnSpecLock", " ref speclock"),
    press("btnBTeamOn", " ref balancedteams 1"), press("btnBTeamOff", " ref balancedteams 0"),
    press("btnFFon", " ref friendlyfire 1"), press("btnFFoff", " ref friendlyfire 0"),
    press("btnMuteS", " ref mutespecs 1"), press("btnUnMuteS", " ref mutespecs 0"),
    press("btnSpecUnlock", " ref specunlock"), press("btnPub", " ref pub"), press("btnComp", " ref comp"),
    press("btnWarmup", " ref warmup Warmup Period (Seconds)"), typed("edtMap", "café", "btnMap", " ref map caf\xE9"),
    typed("edtTimeLimit", "30", "btnTimeLimit", " ref timelimit 30"),
    typed("edtPutAllies", "4", "btnPutAllies", " ref putallies 4"),
    typed("edtPutAxis", "5", "btnPutAxis", " ref putaxis 5"),
    typed("edtUnReferee", "6", "btnUnReferee", " ref unreferee 6"),
    typed("edtRemove", " 7 ", "btnRemove", " ref remove  7 "), typed("edtMute", "2", "btnMute", " ref mute 2"),
    typed("edtMute", "", "btnMute", " ref mute "), typed("edtUnMute", "2", "btnUnMute", " ref unmute 2"),
    typed("edtWarn", "9", "btnWarn", " ref warn 9"), press("btnGametype", nullptr),
    typed("Combo1", "2 - Objective", "btnGametype", " ref gametype 2"),
    typed("Combo1", "3 - Stopwatch", "btnGametype", " ref gametype 3"),
    typed("Combo1", "4 - Campaign", "btnGametype", " ref gametype 4"),
    typed("Combo1", "5 - Last Man Standing", "btnGametype", " ref gametype 5"), press("btnWarmupDamage", nullptr),
    typed("Combo2", "0 - None", "btnWarmupDamage", " ref warmupdamage 0"),
    typed("Combo2", "1 - Enemy", "btnWarmupDamage", " ref warmupdamage 1"),
    typed("Combo2", "2 - Everyone", "btnWarmupDamage", " ref warmupdamage 2")};
constexpr Send FunSends[] = {
    typed("edtgravity", "400", "btngravity", " g_gravity 400"), press("btngravity", " g_gravity 800"),
    press("btnGravityReset", " reset g_gravity"), press("btnSpeed", " g_speed 320"),
    press("btnSpeedReset", " reset g_speed"), press("btnShove", " b_shove 80"),
    press("btnShoveReset", " reset b_shove"), press("btnShove_nozOn", " b_shove_noz 0"),
    press("btnShove_nozOff", " b_shove_noz 1"), press("btnMoverscale", " b_moverscale 1"),
    press("btnmoverscaleReset", " reset b_moverscale"), press("btnWolfrofOn", " b_wolfrof 1"),
    press("btnWolfrofOff", " b_wolfrof 0"), press("btnknifeonlyOn", " g_knifeonly 1"),
    press("btnknifeonlyOff", " g_knifeonly 0"), press("btnHeadshotReset", " reset b_headshot"),
    press("btnheadshot", nullptr), typed("Combo1", "0 - Off", "btnheadshot", " b_headshot 0"),
    typed("Combo1", "1 - Headshot only", "btnheadshot", " b_headshot 1"),
    typed("Combo1", "2 - Instagib", "btnheadshot", " b_headshot 2"),
    typed("Combo1", "3 - Instagib with headshot", "btnheadshot", " b_headshot 3")};

// The byte contract of the buttons that ask "Yes" first: the field is read at "Yes".
constexpr Send GamePlayConfirmed[] = {
    press("btnMapRestart", " ref restart"), press("btnNextmap", " ref nextmap"),
    press("btnMatchReset", " ref matchreset"), press("btnShuffle", " ref shuffleteamsxp"),
    press("btnShuffle2", " ref shuffleteamsxp_norestart"), press("btnSwap", " ref swapteams"),
    typed("edtReferee", "5", "btnReferee", " ref referee 5"), typed("edtReferee", "", "btnReferee", " ref referee "),
    typed("edtReferee", " 7 ", "btnReferee", " ref referee  7 ")};
constexpr Send MainConfirmed[] = {press("btnKill", " killserver"), press("btnRestartServer", " exec server"),
                                  press("btnUnbanAll", " pb_sv_banempty")};

// The byte contract of the kick and ban buttons: at "Proceed" the command takes the player's field as it is then,
// and the length and reason where it asks for them.
constexpr Send kick(const char *button, const char *field, const char *player, const char *sent,
                    const char *length = "", const char *reason = "")
{
    return {button, field, player, sent, length, reason};
}
constexpr Send Kicks[] = {
    kick("btnKick", "edtSlot1", "4", " clientkick 4", "10", "r"),
    kick("btnNameKick", "edtSlot3", " Big \"Bad\" Wolf ", " kick  Big \"Bad\" Wolf "),
    kick("btnBan", "edtSlot2", "Zoë", " ban Zo\xeb"),
    kick("btnPBKickNum", "edtSlot4", "3", " pb_sv_kick 3 10 a b\\c", "10", "a b\\c"),
    kick("btnPBKick", "edtSlot5", "name", " pb_sv_kick name  "),
    kick("btnPBBan", "edtSlot6", "name", " pb_sv_ban name a b\\c", "10", "a b\\c"),
    kick("btnPBBanSlot", "edtSlot8", "7", " pb_sv_ban 7 spam", "", "spam"),
    kick("btnPBBanGUID", "edtSlot7", "0123abcd", " pb_sv_banguid 0123abcd "),
    kick("btnPBBanMask", "edtPBBanmask", "10.0.*.*", " pb_sv_banmask 10.0.*.*", "10", "r")};
// clang-format on

// Two clicks 100 ms apart, then what follows: the server gets " status", then " pb_sv_plist" or the player
// list's " status", as many as arrive. The player list popup sends on an endpoint of its own.
enum class Then { Nothing, Disconnect, ClosePlayerList };
// clang-format off
constexpr struct {
    const char *name, *first, *second;
    Then then = Then::Nothing;
    int arrive;
} Spacings[] = {
    {.name = "two clicks", .first = "btnPlayers", .second = "btnPBPlayers", .arrive = 2},
    {.name = "a player list and a click", .first = "btnNormalPopup", .second = "btnPBPlayers", .arrive = 2},
    {.name = "Disconnect drops what waits, connecting again at once", .first = "btnPlayers",
     .second = "btnPBPlayers", .then = Then::Disconnect, .arrive = 1},
    {.name = "a closed window sends nothing more", .first = "btnPlayers", .second = "btnNormalPopup",
     .then = Then::ClosePlayerList, .arrive = 1}};
// clang-format on

// Lines sent from the command field with Return, a line then typed and not sent, the keys pressed: what it shows.
constexpr Qt::Key Up = Qt::Key_Up, Down = Qt::Key_Down;
// clang-format off
constexpr struct {
    const char *name;
    std::array<const char *, 3> sent;
    const char *typing;
    std::array<Qt::Key, 4> keys;
    const char *shows;
} Recalls[] = {
    {.name = "newest first, to the oldest", .sent = {"a", "b", "c"}, .typing = "x", .keys = {Up, Up, Up, Up},
     .shows = "a"},
    {.name = "after sending, Up skips the line shown", .sent = {"a", "b"}, .typing = nullptr, .keys = {Up},
     .shows = "a"},
    {.name = "Down back to the line typed", .sent = {"a", "b"}, .typing = "x", .keys = {Up, Up, Down, Down},
     .shows = "x"},
    {.name = "the same line twice kept once", .sent = {"a", "b", "b"}, .typing = "x", .keys = {Up, Up},
     .shows = "a"}};
// clang-format on

void typeAndSend(QLineEdit *field, const char *text, bool send = true)
{
    field->clear();
    QTest::keyClicks(field, QString::fromUtf8(text));
    if (send)
        QTest::keyClick(field, Qt::Key_Return);
}

// A send goes straight out, or through the dialog its button opens.
enum class Dialog { None, Sure, Reason };

template <typename Table> void addSends(const char *window, const Table &table, Dialog dialog = Dialog::None)
{
    for (const Send &send : table) {
        QTest::addRow("%s/%s%s%s%s%s", window, send.button, send.field ? " after " : "", send.field ? send.field : "",
                      send.field ? "=" : "", send.typed ? send.typed : "")
            << QByteArray(window) << send << dialog;
    }
}

// What Connect does with the server's fields (no port: the server's) and the probe's answer: a message box and
// nothing sent, or the answer logged with the decision.
// clang-format off
constexpr struct {
    const char *name;
    FakeServer::Mode mode = FakeServer::Mode::EtServer;
    const char *port = nullptr, *password = "secret", *message = nullptr, *logged = nullptr;
} Connects[] = {
    {.name = "ET server", .logged = "Server running ET"},
    {.name = "another game's server", .mode = FakeServer::Mode::PlainServer,
     .logged = "Server does not appear to be running ET"},
    {.name = "empty password", .password = "", .message = "Please enter values for all server fields!"},
    {.name = "port not a number", .port = "27960x", .message = "The server port must be a whole number from 1 to 65535."}};
// clang-format on

const QString StartText =
    u"Korvane Client: Korvane loaded. Korvane Client: Enter/select server details and Connect to login."_s;

} // namespace

Q_DECLARE_METATYPE(Send)
Q_DECLARE_METATYPE(Dialog)

class TestConsole : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void connecting_data() { testdata::addRows(Connects); }

    // The probe's answer is logged and decides; later replies follow after a CR LF only on an ET server.
    void connecting()
    {
        const auto &row = testdata::current(Connects);
        TestProgram program;
        FakeServer server(row.mode);
        korvane::console::MainWindow main(program.environment());
        main.show();
        QCOMPARE(readable(&main, "Result"), StartText);
        main.setServerFields(u"127.0.0.1"_s, row.port ? QString::fromLatin1(row.port) : server.portText(),
                             QString::fromLatin1(row.password));
        click(&main, "btnConnect");
        if (row.message) {
            QTest::qWait(100);
            QCOMPARE(program.messages, QStringList{QString::fromUtf8(row.message)});
            QCOMPARE(readable(&main, "Result"), StartText);
            QCOMPARE(server.received(), QList<QByteArray>());
            return;
        }
        const bool isEt = row.mode == FakeServer::Mode::EtServer;
        const QString status = korvane::rcon::cleanReply(korvane::rcon::fromWire(FakeServer::statusReply(row.mode)));
        const QString log = StartText + u"\r\n\r\nConnecting...\r\n"_s + status + u"\r\nKorvane Client: "_s +
                            QString::fromLatin1(row.logged) + u"\r\n"_s;
        QTRY_COMPARE(readable(&main, "Result"), log);
        server.sendToClient(FakeServer::printReply("late"));
        QTest::qWait(100);
        QCOMPARE(readable(&main, "Result"), isEt ? log + u"\r\nlate"_s : log);
        QCOMPARE(readable(&main, "edtState"), isEt ? u"1"_s : u"0"_s);
        QCOMPARE(server.received(), QList{korvane::rcon::statusProbe()});
    }

    void sends_data()
    {
        QTest::addColumn<QByteArray>("window");
        QTest::addColumn<Send>("send");
        QTest::addColumn<Dialog>("dialog");
        addSends("Form1", MainSends);
        addSends("Other", GamePlaySends);
        addSends("fun", FunSends);
        addSends("Form1", MainConfirmed, Dialog::Sure);
        addSends("Other", GamePlayConfirmed, Dialog::Sure);
        addSends("Form1", Kicks, Dialog::Reason);
    }

    // With the password field of the moment; through a dialog, the field is read when the dialog is answered.
    void sends()
    {
        QFETCH(QByteArray, window);
        QFETCH(Send, send);
        QFETCH(Dialog, dialog);
        ConnectedConsole s;
        s.click("Form1", "btnOther"); // the game play and fun windows open, their own first request left out
        s.click("Other", "btnfuncommands");
        s.sent();
        s.server.clear();
        const auto typeField = [&](const QString &text) {
            if (send.field)
                s.type(window.constData(), send.field, text);
        };
        typeField(dialog == Dialog::None ? QString::fromUtf8(send.typed) : u"stale"_s);
        if (dialog != Dialog::None) {
            s.click(window.constData(), send.button);
            typeField(QString::fromUtf8(send.typed));
        }
        if (dialog == Dialog::Reason) {
            s.type("Reason", "edtLength", QString::fromUtf8(send.length));
            s.type("Reason", "edtReason", QString::fromUtf8(send.reason));
        }
        s.type("Form1", "edtrconpassword", u"other"_s);
        if (dialog == Dialog::None)
            s.click(window.constData(), send.button);
        else
            s.click(dialog == Dialog::Sure ? "Sure" : "Reason", dialog == Dialog::Sure ? "btnSureOK" : "btnProceed");
        s.type("Form1", "edtrconpassword", u"secret"_s);
        QCOMPARE(s.sent(), send.sent ? QList{rcon(QByteArray("other") + send.sent)} : QList<QByteArray>());
    }

    void spacing_data() { testdata::addRows(Spacings); }

    // However quick the clicks, from whichever window, requests reach the server half a second apart and in order.
    void spacing()
    {
        const auto &row = testdata::current(Spacings);
        ConnectedConsole s(u"english"_s, [](korvane::ui::Environment &env) { env.requestSpacingMs = 500; });
        const auto start = std::chrono::steady_clock::now(); // arrivals are stamped when read: they may lag
        s.click("Form1", row.first);
        QVERIFY(s.server.waitForDatagrams(1));
        QTest::qWait(100);
        s.click("Form1", row.second);
        if (row.then == Then::Disconnect) {
            s.click("Form1", "btnDisconnect");
            s.click("Form1", "btnConnect");
        }
        if (row.then == Then::ClosePlayerList)
            window("NormalPlayers")->close();
        QTest::qWait(800);
        QList<QByteArray> received = s.server.received();
        received.removeAll(korvane::rcon::statusProbe()); // connecting again
        QCOMPARE(received, QList({rcon("secret status"), rcon("secret pb_sv_plist")}).mid(0, row.arrive));
        if (row.arrive == 2)
            QVERIFY(s.server.arrivals().at(1) - start >= std::chrono::milliseconds(500));
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

    // Return sends the line; the history holds its newest thousand lines, only for its owner, and the next run
    // recalls them.
    void historyKeptAcrossRuns()
    {
        QByteArray thousand;
        for (int i = 0; i < 1000; ++i)
            thousand += "cmd " + QByteArray::number(i) + '\n';
        ConnectedConsole first(u"english"_s, [&](korvane::ui::Environment &env) {
            QVERIFY(testdata::writeBytes(env.settings.locations().historyFile(), thousand));
        });
        typeAndSend(find<QLineEdit>(&first.main, "edtAdditional"), "g_password new");
        QCOMPARE(first.sent(), QList{rcon("secret g_password new")}); // Return sends what the button sends
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

    // What a hostile or broken server, or a silent name server, can do: the console keeps only the newest part of
    // an endless stream, whole answers in order; a lookup that never answers ends in the failure path.
    void logKeepsItsNewestMillionCharacters()
    {
        ConnectedConsole console;
        QVERIFY(console.main.isConnected());
        auto *log = find<QPlainTextEdit>(&console.main, "Result");
        // 40 answers of 60,000 characters, each of lines of 99 characters: 2.4 million in all.
        QByteArray lines;
        for (int i = 0; i < 600; ++i)
            lines += QByteArray(98, 'a' + char(i % 26)) + '\n';
        for (int i = 0; i < 40; ++i) {
            console.server.sendToClient(FakeServer::printReply("answer " + QByteArray::number(i) + '\n' + lines));
            QTest::qWait(5);
        }
        console.server.sendToClient(FakeServer::printReply("the end"));
        QVERIFY(QTest::qWaitFor([&] { return answerText(log).endsWith(u"the end"_s); }, 10000));
        const QString text = answerText(log);
        QVERIFY2(text.size() <= 1'100'000 + 100'000, qPrintable(QString::number(text.size())));
        QVERIFY(text.size() >= 1'000'000);
        // Cut at a line start, and the newest answers whole.
        const QString first = text.left(text.indexOf(u"\r\n"_s));
        QVERIFY2(first.startsWith(u"answer "_s) || first == QString(98, first.front()), qPrintable(first.left(120)));
        QVERIFY(text.contains(u"answer 39\r\n"_s + QString(98, u'a') + u"\r\n"_s));
    }

    void lookupThatNeverAnswersEndsInTheFailurePath()
    {
        TestProgram program;
        korvane::console::MainWindow main(program.environment());
        main.link().resolver().setLookup([](const QString &, QObject *, auto) {});
        main.link().resolver().setTimeLimit(300);
        main.show();
        main.setServerFields(u"silent.example"_s, u"27960"_s, u"pw"_s);
        click(&main, "btnConnect");
        auto *log = find<QPlainTextEdit>(&main, "Result");
        QVERIFY(answerText(log).endsWith(u"Connecting..."_s));
        QVERIFY(
            QTest::qWaitFor([&] { return answerText(log).endsWith(u"could not connect to an ET server"_s); }, 5000));
        QVERIFY(!main.isConnected());
        QVERIFY(find(&main, "btnConnect")->isEnabled());
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
