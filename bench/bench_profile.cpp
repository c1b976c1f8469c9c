// Captioning the main window from a 10 MB language file: its 61 keys looked up with one read of the
// file per key (readProfileString) against one read for all of them (settings::ProfileSnapshot). The
// keys stand behind 10 MB of other entries, so that every look-up has the whole file to pass. Also one
// setting from a 50 MB settings.ini, by a single read and by a snapshot. Run one benchmark per process
// (--benchmark_filter) for a meaningful peak_rss_MB: it is the process's peak resident set so far.
#include "settings/profile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace Qt::StringLiterals;
using korvane::settings::readProfileString;

namespace {

constexpr qsizetype LanguageFileBytes = 10'000'000;
constexpr qsizetype SettingsFileBytes = 50'000'000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray englishFile()
{
    QFile file(QStringLiteral(KORVANE_LANG_DIR "/english.lang"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window's 61 keys, in the order of the english file.
QStringList mainWindowKeys()
{
    QStringList keys;
    for (const QByteArray &line : englishFile().split('\n')) {
        if (line.startsWith("Form1."))
            keys.append(QString::fromLatin1(line.first(line.indexOf('='))));
    }
    return keys;
}

// Section [lang] with `size` bytes of other entries first, then `tail`; written in pieces, so that
// making the file costs little memory.
QString makeFile(const QString &name, qsizetype size, const QByteArray &tail)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("[lang]\r\n");
    QByteArray piece;
    for (int i = 0; file.size() + piece.size() < size; ++i) {
        piece += "Filler.Control" + QByteArray::number(i) + "=Some translated caption text\r\n";
        if (piece.size() > 1'000'000) {
            file.write(piece);
            piece.clear();
        }
    }
    file.write(piece);
    file.write(tail);
    return path;
}

const QString &largeLanguageFile()
{
    static const QString path = [] {
        QByteArray entries = englishFile();
        entries.remove(0, entries.indexOf('\n') + 1); // its own [lang] line
        return makeFile(u"large.lang"_s, LanguageFileBytes, entries);
    }();
    return path;
}

void reportMemory(benchmark::State &state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = usage.ru_maxrss / 1024.0;
}

void PerKeyReads(benchmark::State &state)
{
    const QString &path = largeLanguageFile();
    const QStringList keys = mainWindowKeys();
    for (auto _ : state) {
        for (const QString &key : keys)
            benchmark::DoNotOptimize(readProfileString(u"lang"_s, key, path));
    }
    state.counters["keys"] = static_cast<double>(keys.size());
    reportMemory(state);
}
BENCHMARK(PerKeyReads)->Unit(benchmark::kMillisecond)->MinTime(2);

void OneRead(benchmark::State &state)
{
    const QString &path = largeLanguageFile();
    const QStringList keys = mainWindowKeys();
    for (auto _ : state) {
        const korvane::settings::ProfileSnapshot language = korvane::settings::ProfileSnapshot::ofFile(path);
        for (const QString &key : keys)
            benchmark::DoNotOptimize(language.value(u"lang"_s, key));
    }
    state.counters["keys"] = static_cast<double>(keys.size());
    reportMemory(state);
}
BENCHMARK(OneRead)->Unit(benchmark::kMillisecond)->MinTime(2);

const QString &largeSettingsFile()
{
    static const QString path = makeFile(u"settings.ini"_s, SettingsFileBytes, "Default=english\r\n");
    return path;
}

void SettingFromLargeFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readProfileString(u"lang"_s, u"Default"_s, largeSettingsFile()));
    reportMemory(state);
}
BENCHMARK(SettingFromLargeFile)->Unit(benchmark::kMillisecond)->MinTime(2);

void SnapshotOfLargeSettings(benchmark::State &state)
{
    for (auto _ : state) {
        const auto settings = korvane::settings::ProfileSnapshot::ofFile(largeSettingsFile());
        benchmark::DoNotOptimize(settings.value(u"lang"_s, u"Default"_s));
    }
    reportMemory(state);
}
BENCHMARK(SnapshotOfLargeSettings)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

BENCHMARK_MAIN();
