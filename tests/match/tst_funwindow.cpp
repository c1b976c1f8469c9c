// The fun commands window against a loopback server: the bytes each button sends, its caption keys,
// and the master reset's eight commands with their spacing measured where they arrive.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QScopeGuard>
#include <QThread>

#include <atomic>
#include <chrono>
#include <memory>

using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

namespace {

const QByteArray Request = QByteArray(4, '\xFF') + "rcon secret";

struct PaintCounter final : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override { return (paints += event->type() == QEvent::Paint, false); }
};

} // namespace

class TestFunWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sends_data();
    void sends();
    void captionKeysOfDifferentCase();
    void masterResetSpacesItsCommands();
};

void TestFunWindow::sends_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("control"); // a field or list set to `value` first; empty: as the window opens
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<QByteArray>>("sent"); // what arrives before the marker
    const auto row = [](const char *name, const char *button, const char *command, const char *control = "",
                        const QString &value = {}) {
        const QList<QByteArray> marker = {ConnectedConsole::sentinel()};
        QTest::newRow(name) << QByteArray(button) << QByteArray(control) << value
                            << (*command ? QList<QByteArray>{Request + command} + marker : marker);
    };
    row("gravity", "btngravity", " g_gravity 400", "edtgravity", u"400"_s);
    row("gravity untouched", "btngravity", " g_gravity 800");
    row("gravity reset", "btnGravityReset", " reset g_gravity");
    row("speed untouched", "btnSpeed", " g_speed 320");
    row("speed reset", "btnSpeedReset", " reset g_speed");
    row("shove untouched", "btnShove", " b_shove 80");
    row("shove reset", "btnShoveReset", " reset b_shove");
    row("vertical shove on sends 0", "btnShove_nozOn", " b_shove_noz 0");
    row("vertical shove off sends 1", "btnShove_nozOff", " b_shove_noz 1");
    row("mover speed untouched", "btnMoverscale", " b_moverscale 1");
    row("mover speed reset", "btnmoverscaleReset", " reset b_moverscale");
    row("rate of fire on", "btnWolfrofOn", " b_wolfrof 1");
    row("rate of fire off", "btnWolfrofOff", " b_wolfrof 0");
    row("knife only on", "btnknifeonlyOn", " g_knifeonly 1");
    row("knife only off", "btnknifeonlyOff", " g_knifeonly 0");
    row("no headshot mode chosen", "btnheadshot", "");
    row("headshot off", "btnheadshot", " b_headshot 0", "Combo1", u"0 - Off"_s);
    row("headshot only", "btnheadshot", " b_headshot 1", "Combo1", u"1 - Headshot only"_s);
    row("instagib", "btnheadshot", " b_headshot 2", "Combo1", u"2 - Instagib"_s);
    row("instagib with headshot", "btnheadshot", " b_headshot 3", "Combo1", u"3 - Instagib with headshot"_s);
    row("headshot reset", "btnHeadshotReset", " reset b_headshot");
}

void TestFunWindow::sends()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, control);
    QFETCH(QString, value);
    QFETCH(QList<QByteArray>, sent);
    ConnectedConsole console;
    openWindow(console.main, u"fun"_s); // its button in the game play window is tested with that window
    QWidget *fun = window("fun");
    QVERIFY(console.connected && fun);
    // A field takes the text; a list chooses the entry of exactly that text, if there is one.
    if (QWidget *widget = control.isEmpty() ? nullptr : find(fun, control.constData()))
        widget->metaObject()->userProperty().write(widget, value);
    click(fun, button.constData());
    QCOMPARE(console.sentThenSentinel(), sent);
}

void TestFunWindow::captionKeysOfDifferentCase()
{
    ConnectedConsole console;
    console.program.writeLanguageFile(
        u"english"_s, {u"fun=Spass"_s, u"fun.btnspeed=Tempo"_s, u"fun.btnspeedreset=Tempo zurueck"_s,
                       u"fun.btnMoverscalereset=Mover zurueck"_s, u"fun.btnheadshotReset=Kopfschuss zurueck"_s});
    openWindow(console.main, u"fun"_s);
    const QWidget *fun = window("fun");
    QVERIFY(console.connected && fun);
    QCOMPARE(fun->windowTitle(), u"Spass"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnSpeed")->text(), u"Tempo"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnSpeedReset")->text(), u"Tempo zurueck"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnmoverscaleReset")->text(), u"Mover zurueck"_s);
    QCOMPARE(find<QAbstractButton>(fun, "btnHeadshotReset")->text(), u"Kopfschuss zurueck"_s);
}

void TestFunWindow::masterResetSpacesItsCommands()
{
    // A server on a thread of its own takes each datagram the moment it arrives, even while the console
    // sleeps between the commands, so its arrival times are the real spacing.
    QList<QByteArray> received;
    QList<Clock::time_point> arrivals;
    std::atomic<quint16> port = 0;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        FakeServer server;
        server.setRconReplies({FakeServer::printReply("reset done")});
        port = server.port();
        QEventLoop().exec();
        received = server.received();
        arrivals = server.arrivals();
    }));
    thread->start();
    const auto stopServer = [&] { thread->quit(), thread->wait(5000); };
    const auto stopAtTheEnd = qScopeGuard(stopServer);
    QVERIFY(QTest::qWaitFor([&] { return port != 0; }, 5000));

    // At each wait and at the message: the bar's value, the paints it has had so far, and the time.
    TestProgram program;
    QPointer<QProgressBar> bar;
    PaintCounter counter;
    QList<int> progress, paints;
    QList<Clock::time_point> times;
    const auto record = [&] {
        if (bar)
            progress.append(bar->value()), paints.append(counter.paints), times.append(Clock::now());
    };
    korvane::ui::Environment environment = program.environment();
    environment.wait = [&, realWait = environment.wait](int milliseconds) { record(), realWait(milliseconds); };
    environment.message = [&, shown = environment.message](QWidget *parent, const QString &text) {
        record(), shown(parent, text);
    };
    korvane::console::MainWindow main(std::move(environment));
    main.show();
    main.setServerFields(u"127.0.0.1"_s, QString::number(port), u"secret"_s);
    click(&main, "btnConnect");
    QVERIFY(QTest::qWaitFor([&] { return main.isConnected(); }, 3000));
    openWindow(main, u"fun"_s);
    QWidget *fun = window("fun");
    QVERIFY(fun && QTest::qWaitForWindowExposed(fun));
    bar = find<QProgressBar>(fun, "Progress");
    bar->installEventFilter(&counter);
    paints.append(counter.paints);

    click(fun, "btnResetAll");
    QCOMPARE(program.messages, QStringList{u"'Fun' Cvars Reset"_s});
    QCOMPARE(progress, (QList<int>{0, 13, 26, 39, 52, 65, 78, 91, 100}));
    // The waits block the program, yet the bar is repainted at every step.
    for (qsizetype i = 1; i < paints.size(); ++i)
        QVERIFY2(paints[i] > paints[i - 1], qPrintable(u"no repaint before step %1"_s.arg(i)));

    stopServer();
    QList<QByteArray> expected = {QByteArray(4, '\xFF') + "getstatus"};
    for (const char *name :
         {"b_moverscale", "b_wolfrof", "b_shove_noz", "g_knifeonly", "g_gravity", "g_speed", "b_shove", "b_headshot"})
        expected.append(Request + " reset " + name);
    QCOMPARE(received, expected);
    // Each reset, and the message after the last, comes 800 ms after the one before; a few milliseconds
    // are allowed for the server thread waking up to an arrival.
    arrivals.append(times.constLast());
    for (qsizetype i = 2; i < arrivals.size(); ++i) {
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(arrivals[i] - arrivals[i - 1]);
        QVERIFY2(gap.count() >= 790, qPrintable(u"only %1 ms before %2"_s.arg(gap.count()).arg(i)));
    }
}

QTEST_MAIN(TestFunWindow)
#include "tst_funwindow.moc"
