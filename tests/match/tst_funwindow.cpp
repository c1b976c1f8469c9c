// The fun commands window against a loopback server: the bytes each button sends, and the master
// reset's eight commands with their real spacing, measured where they arrive.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QThread>

#include <chrono>
#include <future>
#include <memory>

using namespace Qt::StringLiterals;
using korvane::MainWindow;
using Clock = std::chrono::steady_clock;

namespace {

const QByteArray Request = QByteArray(4, '\xFF') + "rcon secret";
const QByteArray Marker = Request + " reset g_gravity";

bool connectAndOpen(MainWindow &main, quint16 port)
{
    main.show();
    main.setServerFields(u"127.0.0.1"_s, QString::number(port), u"secret"_s);
    click(&main, "btnConnect");
    if (!QTest::qWaitFor([&] { return main.isConnected(); }, 3000))
        return false;
    click(&main, "btnOther");
    if (!window("Other"))
        return false;
    click(window("Other"), "btnfuncommands");
    return window("fun") != nullptr;
}

// The same, with a server on this thread; what it received until the window's campaign request is dropped.
bool connectAndOpen(MainWindow &main, FakeServer &server)
{
    if (!connectAndOpen(main, server.port()) || !server.waitForDatagrams(2))
        return false;
    server.clear();
    return true;
}

// A loopback server on a thread of its own: while the console sleeps between the reset's commands,
// it still takes each datagram the moment it arrives, so the arrival times are the real spacing.
class ServerThread final {
public:
    ServerThread()
    {
        std::promise<quint16> port;
        std::future<quint16> bound = port.get_future();
        m_thread.reset(QThread::create([this, &port] {
            FakeServer server;
            server.setRconReplies({FakeServer::printReply("reset done")});
            port.set_value(server.port());
            QEventLoop().exec();
            m_received = server.received();
            m_arrivals = server.arrivals();
        }));
        m_thread->start();
        m_port = bound.wait_for(std::chrono::seconds(5)) == std::future_status::ready ? bound.get() : 0;
    }
    ~ServerThread() { stop(); }

    quint16 port() const { return m_port; }
    // Ends the server's thread; afterwards what it received can be read here.
    void stop()
    {
        m_thread->quit();
        m_thread->wait(5000);
    }
    const QList<QByteArray> &received() const { return m_received; }
    const QList<Clock::time_point> &arrivals() const { return m_arrivals; }

private:
    std::unique_ptr<QThread> m_thread;
    quint16 m_port = 0;
    QList<QByteArray> m_received;
    QList<Clock::time_point> m_arrivals;
};

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestFunWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void directCommands_data();
    void directCommands();
    void headshotModes_data();
    void headshotModes();
    void captionKeysOfDifferentCase();
    void masterResetSpacesItsCommands();
};

void TestFunWindow::directCommands_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("field"); // empty: the field keeps its design-time value
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("command");
    const auto row = [](const char *name, const char *button, const char *field, const QString &typed,
                        const QByteArray &command) {
        QTest::newRow(name) << QByteArray(button) << QByteArray(field) << typed << command;
    };
    row("gravity", "btngravity", "edtgravity", u"400"_s, " g_gravity 400");
    row("gravity untouched", "btngravity", "", {}, " g_gravity 800");
    row("gravity empty", "btngravity", "edtgravity", {}, " g_gravity ");
    row("gravity reset", "btnGravityReset", "", {}, " reset g_gravity");
    row("speed untouched", "btnSpeed", "", {}, " g_speed 320");
    row("speed reset", "btnSpeedReset", "", {}, " reset g_speed");
    row("shove untouched", "btnShove", "", {}, " b_shove 80");
    row("shove", "btnShove", "edtShove", u"abc"_s, " b_shove abc");
    row("shove reset", "btnShoveReset", "", {}, " reset b_shove");
    row("vertical shove on sends 0", "btnShove_nozOn", "", {}, " b_shove_noz 0");
    row("vertical shove off sends 1", "btnShove_nozOff", "", {}, " b_shove_noz 1");
    row("mover speed untouched", "btnMoverscale", "", {}, " b_moverscale 1");
    row("mover speed reset", "btnmoverscaleReset", "", {}, " reset b_moverscale");
    row("rate of fire on", "btnWolfrofOn", "", {}, " b_wolfrof 1");
    row("rate of fire off", "btnWolfrofOff", "", {}, " b_wolfrof 0");
    row("knife only on", "btnknifeonlyOn", "", {}, " g_knifeonly 1");
    row("knife only off", "btnknifeonlyOff", "", {}, " g_knifeonly 0");
    row("headshot reset", "btnHeadshotReset", "", {}, " reset b_headshot");
}

void TestFunWindow::directCommands()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QByteArray, command);
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    QVERIFY(connectAndOpen(main, server));
    QWidget *fun = window("fun");
    if (!field.isEmpty())
        find<QLineEdit>(fun, field.constData())->setText(typed);
    click(fun, button.constData());
    QVERIFY(server.waitForDatagrams(1));
    QCOMPARE(server.received().constFirst(), Request + command);
}

void TestFunWindow::headshotModes_data()
{
    QTest::addColumn<int>("entry"); // -1: nothing chosen, as the window opens
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("nothing chosen sends nothing") << -1 << Marker;
    QTest::newRow("off") << 0 << Request + " b_headshot 0";
    QTest::newRow("headshot only") << 1 << Request + " b_headshot 1";
    QTest::newRow("instagib") << 2 << Request + " b_headshot 2";
    QTest::newRow("instagib with headshot") << 3 << Request + " b_headshot 3";
}

void TestFunWindow::headshotModes()
{
    QFETCH(int, entry);
    QFETCH(QByteArray, command);
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    QVERIFY(connectAndOpen(main, server));
    QWidget *fun = window("fun");
    auto *modes = find<QComboBox>(fun, "Combo1");
    QCOMPARE(modes->count(), 4);
    QCOMPARE(modes->currentText(), QString());
    modes->setCurrentIndex(entry);
    click(fun, "btnheadshot");
    click(fun, "btnGravityReset"); // arrives first when the click before sent nothing
    QVERIFY(server.waitForDatagrams(1));
    QCOMPARE(server.received().constFirst(), command);
}

void TestFunWindow::captionKeysOfDifferentCase()
{
    TestProgram program;
    program.writeLanguageFile(
        u"english"_s, {u"fun=Spass"_s, u"fun.btnspeed=Tempo"_s, u"fun.btnspeedreset=Tempo zurueck"_s,
                       u"fun.btnMoverscalereset=Mover zurueck"_s, u"fun.btnheadshotReset=Kopfschuss zurueck"_s});
    FakeServer server;
    MainWindow main(program.environment());
    QVERIFY(connectAndOpen(main, server));
    const QWidget *fun = window("fun");
    QCOMPARE(fun->windowTitle(), u"Spass"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnSpeed")->text(), u"Tempo"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnSpeedReset")->text(), u"Tempo zurueck"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnmoverscaleReset")->text(), u"Mover zurueck"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnHeadshotReset")->text(), u"Kopfschuss zurueck"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btngravity")->text(), QString()); // no entry: no fallback
    QCOMPARE(find<QLineEdit>(fun, "edtgravity")->text(), u"800"_s);        // fields have no key
}

void TestFunWindow::masterResetSpacesItsCommands()
{
    TestProgram program;
    ServerThread server;
    QVERIFY(server.port() != 0);

    // Watches each wait: the bar's value and paints so far, and whether the console has taken anything.
    QPointer<QProgressBar> bar;
    PaintCounter counter;
    const QPlainTextEdit *console = nullptr;
    QString consoleAtClick;
    QList<int> progressAtWaits;
    QList<int> paintsAtWaits;
    bool consoleChangedDuringReset = false;
    Clock::time_point messageShown;
    korvane::Environment environment = program.environment();
    environment.wait = [&, realWait = environment.wait](int milliseconds) {
        if (bar) {
            progressAtWaits.append(bar->value());
            paintsAtWaits.append(counter.paints);
            consoleChangedDuringReset |= console->toPlainText() != consoleAtClick;
        }
        realWait(milliseconds);
    };
    environment.message = [&, shown = environment.message](QWidget *parent, const QString &text) {
        messageShown = Clock::now();
        shown(parent, text);
    };

    MainWindow main(std::move(environment));
    QVERIFY(connectAndOpen(main, server.port()));
    QWidget *fun = window("fun");
    QVERIFY(QTest::qWaitForWindowExposed(fun));
    bar = find<QProgressBar>(fun, "Progress");
    bar->installEventFilter(&counter);
    console = find<QPlainTextEdit>(&main, "Result");
    consoleAtClick = console->toPlainText();
    const int paintsAtClick = counter.paints;

    click(fun, "btnResetAll");
    QCOMPARE(program.messages, QStringList{u"'Fun' Cvars Reset"_s});
    QCOMPARE(progressAtWaits, (QList<int>{0, 13, 26, 39, 52, 65, 78, 91}));
    QCOMPARE(bar->value(), 100);
    QVERIFY(paintsAtWaits.constFirst() > paintsAtClick);
    for (qsizetype i = 1; i < paintsAtWaits.size(); ++i)
        QVERIFY2(paintsAtWaits[i] > paintsAtWaits[i - 1], "the bar was not repainted during the wait");
    QVERIFY(counter.paints > paintsAtWaits.constLast());
    QVERIFY(!consoleChangedDuringReset);
    // The server's answers were held back and are shown now.
    QVERIFY(QTest::qWaitFor([&] { return console->toPlainText().count(u"reset done"_s) == 8; }, 3000));

    server.stop();
    const QList<QByteArray> expected = {
        Request + " reset b_moverscale", Request + " reset b_wolfrof",  Request + " reset b_shove_noz",
        Request + " reset g_knifeonly",  Request + " reset g_gravity",  Request + " reset g_speed",
        Request + " reset b_shove",      Request + " reset b_headshot",
    };
    // After the status probe and the game play window's campaign request.
    QCOMPARE(server.received().size(), 10);
    QCOMPARE(server.received().mid(2), expected);
    // A few milliseconds are allowed for the server thread waking up to an arrival.
    using std::chrono::milliseconds;
    const milliseconds jitter(10);
    for (qsizetype i = 3; i < server.arrivals().size(); ++i) {
        const auto gap = std::chrono::duration_cast<milliseconds>(server.arrivals()[i] - server.arrivals()[i - 1]);
        QVERIFY2(gap >= milliseconds(800) - jitter, qPrintable(u"only %1 ms"_s.arg(gap.count())));
    }
    QVERIFY(messageShown - server.arrivals().constLast() >= milliseconds(800) - jitter);
}

QTEST_MAIN(TestFunWindow)
#include "tst_funwindow.moc"
