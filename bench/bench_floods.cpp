// How the main window holds up under floods from a hostile server and under a slow name lookup: the
// real main window, shown (offscreen), talks over real UDP on 127.0.0.1 to a stand-in server that runs
// on its own thread. For each stream it reports the longest stall of the user-interface thread (the
// largest gap between the ticks of a 5 ms timer, less 5 ms), the peak resident memory above the
// window's idle figure, and what is left above idle once the stream is over.
//
//   bench_floods            every row, each in a process of its own (memory figures stay apart)
//   bench_floods 1 3        the rows named
//
// Rows: 0 the idle window (the noise floor of the machine), 1 console answers of 65,000 characters at
// 4 a second, 2 random datagrams of 0-65,507 bytes as fast as the receive buffer takes them (for 20 s
// at most), 3 campaign
// answers of 65,000 characters to the game play window's endpoint, 4 Connect with a name whose lookup
// answers after 10 s (through the resolver's lookup seam), 4b the same name through the system's own
// lookup, made slow inside this process (no query leaves the machine).
#include "console/mainwindow.h"
#include "rcon/endpoint.h"
#include "ui/environment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <netdb.h>
#include <optional>
#include <random>
#include <string_view>
#include <thread>

using namespace std::chrono_literals;

namespace {

// A name that only this program's slow lookup (below) ever answers.
constexpr char SlowName[] = "slow-lookup.korvane.invalid";
constexpr auto SlowLookup = 10s;
std::atomic<int> slowLookups{0};

} // namespace

// The system's name lookup as this process sees it: names under ".invalid" answer 127.0.0.1 after
// 10 s, without asking any name server; every other name goes to the C library. Defined in the
// executable, so Qt's lookups (QHostInfo) call this one.
extern "C" int getaddrinfo(const char *node, const char *service, const addrinfo *hints, addrinfo **result)
{
    using Real = int (*)(const char *, const char *, const addrinfo *, addrinfo **);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node && std::string_view(node).ends_with(".invalid")) {
        ++slowLookups;
        std::this_thread::sleep_for(SlowLookup);
        addrinfo numeric = hints ? *hints : addrinfo{};
        numeric.ai_flags = AI_NUMERICHOST;
        numeric.ai_family = AF_INET;
        return real("127.0.0.1", service, &numeric, result);
    }
    return real(node, service, hints, result);
}

namespace {

// ---- The program under test: the only part that names its classes. ----

using Window = korvane::console::MainWindow;

std::unique_ptr<Window> makeWindow(const QString &folder)
{
    return std::make_unique<Window>(korvane::ui::Environment(folder));
}

QObject *mainEndpoint(Window &window)
{
    return &window.link().endpoint();
}

QObject *campaignEndpoint(Window &window)
{
    return window.findChild<korvane::rcon::Endpoint *>(QStringLiteral("Socket2"));
}

void onDatagram(QObject *endpoint, QObject *context, std::function<void()> counted)
{
    QObject::connect(static_cast<korvane::rcon::Endpoint *>(endpoint), &korvane::rcon::Endpoint::datagramReceived,
                     context, [counted = std::move(counted)] { counted(); });
}

// Row 4: the lookup seam answers the name's address after 10 s. Returns false when there is no seam.
bool slowLookupSeam(Window &window)
{
    window.link().resolver().setLookup(
        [](const QString &, QObject *context, std::function<void(const QList<QHostAddress> &)> answer) {
            QTimer::singleShot(SlowLookup, context,
                               [answer = std::move(answer)] { answer({QHostAddress(QHostAddress::LocalHost)}); });
        });
    return true;
}

// ---- Measuring. ----

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').constFirst().toLong();
    }
    return 0;
}

// Sets the kernel's peak resident figure (VmHWM) back to the present one; false where not allowed.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// The resident memory every 2 ms on a thread of its own, so that a stalled window is sampled too.
class MemorySampler {
public:
    MemorySampler()
        : m_thread([this] {
            while (!m_stop) {
                m_peakKb = std::max(m_peakKb.load(), statusKb("VmRSS"));
                std::this_thread::sleep_for(2ms);
            }
        })
    {
    }
    ~MemorySampler() { stop(); }
    long stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_peakKb;
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_peakKb{0};
    std::thread m_thread;
};

// The longest gap between ticks of a 5 ms timer on the user-interface thread, less the 5 ms.
class StallMeter {
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(TickMs);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double worstMs()
    {
        tick();
        return m_worstNs / 1e6;
    }

private:
    static constexpr int TickMs = 5;
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_worstNs = std::max(m_worstNs, now - m_last - TickMs * 1'000'000LL);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worstNs = 0;
};

// Runs the event loop until the condition holds or the time is up; true when it holds.
bool spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= timeoutMs)
            loop.quit();
    });
    poll.start(10);
    if (!done())
        loop.exec();
    return done();
}

void spinFor(int milliseconds)
{
    spinUntil([] { return false; }, milliseconds);
}

// ---- The stand-in server, on its own thread. ----

QByteArray printReply(const QByteArray &text)
{
    return QByteArray(4, '\xFF') + "print\n" + text;
}

// One line of 65,000 letters and no blank: with no place to break it, the costliest to lay out.
QByteArray consoleText()
{
    QByteArray text(65'000, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = char('a' + i % 26);
    return text;
}

// 65,000 characters of one-letter campaign words: about 32,500 entries per answer.
QByteArray campaignText()
{
    QByteArray text;
    text.reserve(65'000);
    for (int i = 0; text.size() < 65'000; ++i)
        text += QByteArray(1, char('a' + i % 26)) + ' ';
    return text.left(65'000);
}

class StandIn final : public QObject {
public:
    enum class Stream { Console, Random, Campaigns };

    explicit StandIn(QByteArray statusReply, std::atomic<int> &delivered)
        : m_statusReply(std::move(statusReply))
        , m_delivered(delivered)
    {
    }

    // On the stand-in's thread.
    quint16 start()
    {
        m_socket = new QUdpSocket(this);
        if (!m_socket->bind(QHostAddress::LocalHost, 0))
            qFatal("cannot bind the stand-in server");
        QObject::connect(m_socket, &QUdpSocket::readyRead, this, [this] { read(); });
        return m_socket->localPort();
    }

    // On the stand-in's thread; returns when the whole stream is sent.
    void stream(Stream stream)
    {
        const auto begin = std::chrono::steady_clock::now();
        switch (stream) {
        case Stream::Console: {
            // 4 a second, whether the window keeps up or not.
            const QByteArray reply = printReply(consoleText());
            for (int i = 0; i < 40; ++i) {
                std::this_thread::sleep_until(begin + i * 250ms);
                send(m_mainPeer, reply);
            }
            break;
        }
        case Stream::Random: {
            // As fast as the window's receive buffer takes them: each goes out once the buffer has room
            // for it, so hardly any is lost, for 20 s at most.
            std::mt19937_64 random(13);
            std::uniform_int_distribution<int> length(0, 65'507);
            for (int i = 0; i < 3'000 && std::chrono::steady_clock::now() - begin < 20s; ++i) {
                QByteArray datagram(length(random), Qt::Uninitialized);
                // Eight random bytes a draw: the stand-in shares the machine with the window.
                for (qsizetype at = 0; at < datagram.size(); at += 8) {
                    const std::uint64_t bits = random();
                    std::memcpy(datagram.data() + at, &bits, std::min<qsizetype>(8, datagram.size() - at));
                }
                while (!roomFor(m_mainPeer.port, datagram.size()) && std::chrono::steady_clock::now() - begin < 20s)
                    std::this_thread::sleep_for(1ms);
                send(m_mainPeer, datagram);
            }
            break;
        }
        case Stream::Campaigns: {
            // Each as soon as the window has taken the one before (none is lost to a full buffer), at
            // most 4 a second, and for 15 s at most.
            const QByteArray reply = printReply(campaignText());
            for (int i = 0; i < 19 && std::chrono::steady_clock::now() - begin < 15s; ++i) {
                std::this_thread::sleep_until(begin + i * 250ms);
                while (m_delivered < m_sent && std::chrono::steady_clock::now() - begin < 15s)
                    std::this_thread::sleep_for(1ms);
                send(m_campaignPeer, reply);
            }
            break;
        }
        }
        m_done = true;
    }

    bool knowsCampaignPeer() const { return m_campaignKnown; }
    bool done() const { return m_done; }
    int sent() const { return m_sent; }

private:
    struct Peer {
        QHostAddress address;
        quint16 port = 0;
    };

    void send(const Peer &peer, const QByteArray &datagram)
    {
        if (m_socket->writeDatagram(datagram, peer.address, peer.port) == datagram.size())
            ++m_sent;
    }

    // Whether the receive buffer of the socket on this loopback port has room for a datagram of this
    // size; the kernel counts each with its overhead.
    static bool roomFor(quint16 port, qsizetype size)
    {
        static const long buffer = [] {
            QFile file(QStringLiteral("/proc/sys/net/core/rmem_default"));
            return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLong() : 212'992L;
        }();
        QFile table(QStringLiteral("/proc/net/udp"));
        if (!table.open(QIODevice::ReadOnly))
            return true;
        const QByteArray local = "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
        for (const QByteArray &line : table.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 4 && fields.at(1) == local) {
                const long queued = fields.at(4).split(':').value(1).toLong(nullptr, 16);
                // The kernel counts a datagram with its bookkeeping, and datagrams already read until
                // a quarter of the buffer has been read; the table shows neither.
                return queued + size + size / 16 + 2048 + buffer / 4 <= buffer;
            }
        }
        return true;
    }

    void read()
    {
        do {
            const QNetworkDatagram datagram = m_socket->receiveDatagram();
            if (!datagram.isValid())
                continue;
            const Peer from{datagram.senderAddress(), quint16(datagram.senderPort())};
            if (datagram.data() == QByteArray(4, '\xFF') + "getstatus") {
                m_mainPeer = from;
                m_socket->writeDatagram(m_statusReply, from.address, from.port);
            } else if (datagram.data().contains(" listcampaigns")) {
                m_campaignPeer = from;
                m_campaignKnown = true;
            }
        } while (m_socket->hasPendingDatagrams());
    }

    QByteArray m_statusReply;
    std::atomic<int> &m_delivered;
    QUdpSocket *m_socket = nullptr;
    Peer m_mainPeer;
    Peer m_campaignPeer;
    std::atomic<bool> m_campaignKnown{false};
    std::atomic<bool> m_done{false};
    std::atomic<int> m_sent{0};
};

// The status reply of a real ET server, as captured.
QByteArray etStatusReply()
{
    QFile capture(QStringLiteral(KORVANE_SOURCE_DIR "/tests/data/captures/et-getstatus.json"));
    if (!capture.open(QIODevice::ReadOnly))
        qFatal("cannot read the status capture");
    const QJsonArray replies = QJsonDocument::fromJson(capture.readAll()).object().value(u"replies").toArray();
    return QByteArray::fromHex(replies.first().toObject().value(u"hex").toString().toLatin1());
}

// A portable program folder with the shipped language files and English remembered.
void makeProgramSettings(const QString &folder)
{
    const QDir shipped(QStringLiteral(KORVANE_SOURCE_DIR "/lang"));
    QDir(folder).mkdir(QStringLiteral("lang"));
    for (const QString &name : shipped.entryList({QStringLiteral("*.lang")}))
        QFile::copy(shipped.filePath(name), folder + QStringLiteral("/lang/") + name);
    QFile settings(folder + QStringLiteral("/settings.ini"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("[lang]\r\nDefault=english\r\n");
}

template <typename T = QWidget> T *control(Window &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1StringView(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString logText(Window &window)
{
    return control<QPlainTextEdit>(window, "Result")->toPlainText();
}

constexpr double MB = 1024.0 * 1024.0;

int runRow(const QString &row)
{
    QTemporaryDir folder;
    makeProgramSettings(folder.path());
    std::unique_ptr<Window> window = makeWindow(folder.path());
    window->show();
    spinFor(300);

    std::atomic<int> delivered{0};
    QThread thread;
    auto *standIn = new StandIn(etStatusReply(), delivered);
    standIn->moveToThread(&thread);
    thread.start();
    quint16 port = 0;
    QMetaObject::invokeMethod(
        standIn, [&] { port = standIn->start(); }, Qt::BlockingQueuedConnection);
    const auto stopStandIn = [&] {
        QMetaObject::invokeMethod(
            standIn, [standIn] { delete standIn; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    };

    const bool lookupRow = row.startsWith(u'4');
    window->setServerFields(lookupRow ? QString::fromLatin1(SlowName) : QStringLiteral("127.0.0.1"),
                            QString::number(port), QStringLiteral("pw"));
    auto *connectButton = control<QAbstractButton>(*window, "btnConnect");
    if (!lookupRow) {
        connectButton->click();
        if (!spinUntil([&] { return window->isConnected(); }, 5000))
            qFatal("the window did not connect to the stand-in");
    }
    QString name;
    std::optional<StandIn::Stream> stream;
    QObject *endpoint = mainEndpoint(*window);
    if (row == u"0") {
        name = QStringLiteral("idle window, 3 s");
    } else if (row == u"1") {
        name = QStringLiteral("40 x 65,000-char answers, 4/s, console");
        stream = StandIn::Stream::Console;
    } else if (row == u"2") {
        name = QStringLiteral("3,000 random 0-65,507 B, console");
        stream = StandIn::Stream::Random;
    } else if (row == u"3") {
        name = QStringLiteral("19 x 65,000-char campaign answers");
        stream = StandIn::Stream::Campaigns;
        control<QAbstractButton>(*window, "btnOther")->click();
        if (!spinUntil([&] { return standIn->knowsCampaignPeer(); }, 5000))
            qFatal("the game play window asked for no campaigns");
        endpoint = campaignEndpoint(*window);
    } else if (row == u"4") {
        name = QStringLiteral("Connect, lookup seam answers after 10 s");
        if (!slowLookupSeam(*window)) {
            std::printf("%-3s %-42s (no lookup seam in this program)\n", qPrintable(row), qPrintable(name));
            stopStandIn();
            return 0;
        }
    } else if (row == u"4b") {
        name = QStringLiteral("Connect, system lookup answers after 10 s");
    } else {
        qFatal("unknown row");
    }
    onDatagram(endpoint, window.get(), [&delivered] { ++delivered; });
    spinFor(500);

    const long idleKb = statusKb("VmRSS");
    const bool peakReset = resetPeak();
    MemorySampler sampler;
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    double clickMs = -1;
    double finishedS = -1;
    QString outcome;
    if (stream) {
        QMetaObject::invokeMethod(standIn, [standIn, s = *stream] { standIn->stream(s); });
        // Until the stream is sent, and nothing more has come for a second (the last layout included).
        int seen = -1;
        QElapsedTimer quiet;
        quiet.start();
        spinUntil(
            [&] {
                if (delivered != seen) {
                    seen = delivered;
                    quiet.restart();
                }
                return standIn->done() && quiet.elapsed() >= 1000;
            },
            40'000);
    } else if (lookupRow) {
        QElapsedTimer click;
        click.start();
        connectButton->click();
        clickMs = click.nsecsElapsed() / 1e6;
        const auto finished = [&] {
            return window->isConnected() || logText(*window).contains(QStringLiteral("could not connect"));
        };
        spinUntil(finished, 30'000);
        finishedS = clock.elapsed() / 1e3;
        outcome = window->isConnected() ? QStringLiteral("connected") : QStringLiteral("could not connect");
        spinFor(300);
    } else {
        spinFor(3000);
    }
    const double stallMs = stalls.worstMs();
    const double seconds = clock.elapsed() / 1e3;
    const long sampledKb = sampler.stop();
    const long peakKb = std::max(sampledKb, peakReset ? statusKb("VmHWM") : 0L);
    const long afterKb = statusKb("VmRSS");

    std::printf("%-3s %-42s %9.0f %9.1f %9.1f %7.1f %11s %9s", qPrintable(row), qPrintable(name), stallMs,
                (peakKb - idleKb) * 1024 / MB, (afterKb - idleKb) * 1024 / MB, seconds,
                stream ? qPrintable(QStringLiteral("%1/%2").arg(int(delivered)).arg(standIn->sent())) : "-",
                clickMs >= 0 ? qPrintable(QString::number(clickMs, 'f', 1)) : "-");
    if (lookupRow)
        std::printf("  %s after %.1f s%s", qPrintable(outcome), finishedS,
                    row == u"4b" ? qPrintable(QStringLiteral(" (%1 slow system lookups)").arg(int(slowLookups))) : "");
    std::printf("\n");
    std::fflush(stdout);
    stopStandIn();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string_view(argv[1]) == "--row") {
        // The offscreen platform says at each window raised that it cannot raise windows.
        static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QStringLiteral("does not support raise()")))
                standard(type, context, message);
        });
        QApplication app(argc, argv);
        QApplication::setStyle(QStringLiteral("Fusion"));
        runRow(QString::fromLatin1(argv[2]));
        // A lookup thread of Qt's may still be sleeping in the slow lookup; do not wait for it.
        std::fflush(stdout);
        std::_Exit(0);
    }
    QCoreApplication app(argc, argv);
    // Where the rows' Qt looks for its runtime folder, so that it does not warn about its absence.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    QStringList rows = app.arguments().mid(1);
    if (rows.isEmpty())
        rows = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("4b")};
    std::printf("%-3s %-42s %9s %9s %9s %7s %11s %9s\n", "row", "stream", "stall_ms", "peak_MB", "after_MB", "secs",
                "delivered", "click_ms");
    std::fflush(stdout);
    for (const QString &row : std::as_const(rows)) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--row"), row});
        if (!child.waitForFinished(90'000)) {
            child.kill();
            child.waitForFinished();
        }
        std::fputs(child.readAllStandardOutput().constData(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
