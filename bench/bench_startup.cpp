// Start-up time and peak memory of Korvane (remembered language, main window shown) against a bare
// Qt window, each run as its own process on the offscreen platform. Reports wall time per start and
// the peak resident memory of the child.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

QString programFolder;

struct Run {
    double seconds;
    long maxRssKb;
};

Run runOnce(const QByteArray &program, const QByteArray &argument)
{
    char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(argument.constData()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) != 0)
        return {0, 0};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count(), usage.ru_maxrss};
}

void Startup(benchmark::State &state, const char *name)
{
    const QByteArray program =
        QFile::encodeName(QCoreApplication::applicationDirPath() + u'/' + QLatin1StringView(name));
    const QByteArray folder = QFile::encodeName(programFolder);
    runOnce(program, folder); // warm the file cache
    long maxRss = 0;
    for (auto _ : state) {
        const Run run = runOnce(program, folder);
        state.SetIterationTime(run.seconds);
        maxRss = std::max(maxRss, run.maxRssKb);
    }
    state.counters["peak_rss_MB"] = maxRss / 1024.0;
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
