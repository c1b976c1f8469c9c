// The INI reader and writer on a settings file that may hold anything. Input: two bytes that choose
// the section and the key, the value to write, a zero byte, then the file. After the write, the key
// reads back as the value would read from a file of its own, every other entry reads as before, and
// the one-read snapshot answers as the reader does.
#include "rcon/textcodec.h"
#include "settings/profile.h"

#include <QByteArrayList>
#include <QSet>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <utility>

using namespace korvane;

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

QString trimmed(QByteArrayView bytes)
{
    return rcon::fromWire(bytes).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The names a file seems to hold, each key with the section it stands in, at most 32 and each once.
// Taken loosely: they only serve as names to ask for; the reader decides what they are.
struct Names {
    QStringList sections{QStringLiteral("lang")};
    QList<std::pair<QString, QString>> entries{{QStringLiteral("lang"), QStringLiteral("Default")}};
};

Names namesIn(QByteArrayView file)
{
    Names names;
    QSet<std::pair<QString, QString>> seen;
    QString section;
    for (const QByteArray &line : file.toByteArray().split('\n')) {
        const QByteArray text = line.trimmed();
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            section = trimmed(text.sliced(1, (close < 0 ? text.size() : close) - 1));
            names.sections.append(section);
        } else if (const qsizetype equals = text.indexOf('='); equals > 0 && names.entries.size() < 32) {
            const std::pair<QString, QString> entry{section, trimmed(text.first(equals))};
            if (!seen.contains(entry)) {
                seen.insert(entry);
                names.entries.append(entry);
            }
        }
    }
    return names;
}

// Names the writer can put on a line of their own and read back: no line break in either; a section
// name without ']'; a key without '=' that does not start like a comment or a section.
QString writableSection(const QString &name)
{
    const bool fits = !name.isEmpty() && !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(u']');
    return fits ? name : QStringLiteral("lang");
}

QString writableKey(const QString &name)
{
    const bool fits = !name.isEmpty() && !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(u'=') &&
                      !name.startsWith(u';') && !name.startsWith(u'[');
    return fits ? name : QStringLiteral("Default");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const QByteArrayView input(data + 2, static_cast<qsizetype>(size - 2));
    const qsizetype zero = input.indexOf('\0');
    const QString value = rcon::fromWire(zero < 0 ? input : input.first(zero));
    const QByteArrayView before = zero < 0 ? QByteArrayView() : input.sliced(zero + 1);

    const Names names = namesIn(before);
    const QString section = writableSection(names.sections.at(data[0] % names.sections.size()));
    const QString key = writableKey(names.entries.at(data[1] % names.entries.size()).second);

    const QByteArray after = settings::withProfileValue(before, section, key, value);
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    const QByteArray fileOfItsOwn = "[s]\nk=" + rcon::toWire(oneLine);
    const QString expected = settings::profileValue(fileOfItsOwn, QStringLiteral("s"), QStringLiteral("k"));
    check(settings::profileValue(after, section, key) == expected);

    const settings::ProfileSnapshot beforeOnce{before.toByteArray()};
    const settings::ProfileSnapshot afterOnce{after};
    check(afterOnce.value(section, key) == expected);
    for (qsizetype i = 0; i < names.entries.size(); ++i) {
        const auto &[entrySection, entryKey] = names.entries.at(i);
        for (const QString &asked : {entrySection, section}) {
            const QString old = beforeOnce.value(asked, entryKey);
            if (i < 4) // the reader goes through the whole file each time
                check(old == settings::profileValue(before, asked, entryKey));
            if (!sameName(asked, section) || !sameName(entryKey, key))
                check(afterOnce.value(asked, entryKey) == old);
        }
    }
    return 0;
}
