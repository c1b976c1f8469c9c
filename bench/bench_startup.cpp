// Start-up time and peak memory of Korvane (remembered language, main window shown) against a bare
// Qt window, each run as its own process on the offscreen platform. The time runs from the spawn to the
// first paint of the window (the child prints the clock then); the memory is the child's peak resident
// set over its whole run. Beside the mean, the median of the runs and the median processor time of a
// whole run (user and system): on a machine shared with other work, the elapsed time depends on what
// else is running, and the processor time much less.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

QString programFolder;

struct Run {
    double seconds;
    double cpuSeconds;
    long maxRssKb;
};

double seconds(const timeval &time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

Run runOnce(const QByteArray &program, const QByteArray &argument)
{
    char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(argument.constData()), nullptr};
    int out[2];
    if (pipe(out) != 0)
        return {0, 0, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const long long start = monotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char shown[64] = {};
    const ssize_t length = spawned == 0 ? read(out[0], shown, sizeof shown - 1) : -1;
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (spawned == 0)
        wait4(pid, &status, 0, &usage);
    if (length <= 0)
        return {0, 0, 0};
    return {static_cast<double>(std::atoll(shown) - start) / 1e9, seconds(usage.ru_utime) + seconds(usage.ru_stime),
            usage.ru_maxrss};
}

void Startup(benchmark::State &state, const char *name)
{
    const QByteArray program =
        QFile::encodeName(QCoreApplication::applicationDirPath() + u'/' + QLatin1StringView(name));
    const QByteArray folder = QFile::encodeName(programFolder);
    runOnce(program, folder); // warm the file cache
    long maxRss = 0;
    std::vector<double> elapsed;
    std::vector<double> processor;
    for (auto _ : state) {
        const Run run = runOnce(program, folder);
        state.SetIterationTime(run.seconds);
        elapsed.push_back(run.seconds);
        processor.push_back(run.cpuSeconds);
        maxRss = std::max(maxRss, run.maxRssKb);
    }
    state.counters["peak_rss_MB"] = maxRss / 1024.0;
    state.counters["median_ms"] = median(elapsed) * 1e3;
    state.counters["cpu_median_ms"] = median(processor) * 1e3;
}
BENCHMARK_CAPTURE(Startup, bare_qt_window, "startup_bare")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK_CAPTURE(Startup, korvane, "startup_korvane")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A program folder with the shipped language files and a remembered language.
    QTemporaryDir folder;
    programFolder = folder.path();
    QDir().mkpath(folder.filePath(QStringLiteral("lang")));
    const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/lang"));
    for (const QString &name : shipped.entryList({QStringLiteral("*.lang")}))
        QFile::copy(shipped.filePath(name), folder.filePath(QStringLiteral("lang/") + name));
    QFile settings(folder.filePath(QStringLiteral("settings.ini")));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("[lang]\r\nDefault=english\r\nChecked=True\r\n");
    settings.close();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
