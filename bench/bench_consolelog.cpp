// How the main console keeps up as its log grows: 50,000 reply datagrams of 500 bytes go over real UDP
// on 127.0.0.1 into the main window's endpoint, through the reply handling into the log widget.
// Reports the handling time per datagram for the first and the last 1,000. Also the throughput of the
// reply cleaning on 1,400-byte datagrams.
#include "console/mainwindow.h"
#include "rcon/endpoint.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/environment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

namespace {

constexpr int Datagrams = 50'000;
constexpr int Window = 1'000;
constexpr int Burst = 50; // small enough for the socket's receive buffer

QByteArray replyDatagram(int index)
{
    QByteArray text = "^1player^7 " + QByteArray::number(index) + " \\score\\12 ";
    while (text.size() < 490)
        text += (text.size() % 80 < 2) ? "\n" : "x";
    QByteArray datagram = QByteArray(4, '\xFF') + "print\n" + text;
    datagram.truncate(500);
    return datagram;
}

void ConsoleLogGrowth(benchmark::State &state)
{
    QTemporaryDir folder;
    // A portable program folder, so that the user's own settings play no part.
    QDir(folder.path()).mkdir(QStringLiteral("lang"));
    korvane::console::MainWindow main{korvane::ui::Environment(folder.path())};
    main.show();

    QUdpSocket server;
    server.bind(QHostAddress::LocalHost, 0);
    main.findChild<QLineEdit *>(QStringLiteral("edtIP"))->setText(QStringLiteral("127.0.0.1"));
    main.findChild<QLineEdit *>(QStringLiteral("edtPort"))->setText(QString::number(server.localPort()));
    main.findChild<QLineEdit *>(QStringLiteral("edtrconpassword"))->setText(QStringLiteral("pw"));
    main.findChild<QPushButton *>(QStringLiteral("btnConnect"))->click();
    while (!server.hasPendingDatagrams())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const QNetworkDatagram probe = server.receiveDatagram();
    server.writeDatagram(QByteArray(4, '\xFF') + "statusResponse\n\\version\\ET 2.60b", probe.senderAddress(),
                         static_cast<quint16>(probe.senderPort()));
    while (!main.isConnected())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    auto *endpoint = &main.link().endpoint();
    int handled = 0;
    QObject::connect(endpoint, &korvane::rcon::Endpoint::datagramReceived, &main, [&handled] { ++handled; });

    QList<QByteArray> datagrams;
    for (int i = 0; i < Burst; ++i)
        datagrams.append(replyDatagram(i));

    double firstUs = 0;
    double lastUs = 0;
    for (auto _ : state) {
        for (int sent = 0; sent < Datagrams; sent += Window) {
            QElapsedTimer timer;
            timer.start();
            for (int burst = 0; burst < Window; burst += Burst) {
                for (const QByteArray &datagram : std::as_const(datagrams))
                    server.writeDatagram(datagram, probe.senderAddress(), static_cast<quint16>(probe.senderPort()));
                const int target = sent + burst + Burst;
                while (handled < target)
                    QCoreApplication::processEvents(QEventLoop::AllEvents);
            }
            const double perDatagramUs = timer.nsecsElapsed() / 1000.0 / Window;
            if (sent == 0)
                firstUs = perDatagramUs;
            lastUs = perDatagramUs;
        }
    }
    state.counters["first_1000_us_per_datagram"] = firstUs;
    state.counters["last_1000_us_per_datagram"] = lastUs;
    state.counters["last_over_first"] = lastUs / firstUs;
    state.counters["log_MB"] =
        double(main.findChild<QPlainTextEdit *>(QStringLiteral("Result"))->document()->characterCount()) * 2.0 / 1e6;
}
BENCHMARK(ConsoleLogGrowth)->Iterations(1)->Unit(benchmark::kSecond);

QString datagram1400(bool coloured)
{
    QByteArray text = QByteArray(4, '\xFF') + "print\n";
    int i = 0;
    while (text.size() < 1400) {
        text += coloured ? "^" + QByteArray(1, "1a7Z*^#"[i % 7]) + "Name" : QByteArray("Name  ");
        text += (++i % 10 == 0) ? "\n" : " \\";
    }
    text.truncate(1400);
    return korvane::rcon::fromWire(text);
}

void CleanReply(benchmark::State &state)
{
    const QString datagram = datagram1400(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(korvane::rcon::cleanReply(datagram));
    state.SetBytesProcessed(state.iterations() * 1400);
}
BENCHMARK(CleanReply)->ArgName("coloured")->Arg(0)->Arg(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
