// A language file that may hold anything, read once and looked up by the keys the program asks for
// (those of english.lang; a quarter of them per input, in turn, to keep the runs quick). Each text is
// at most 254 characters and never "Default", and agrees with what one read per key gives (checked
// for one key per input: that read goes through the whole file).
#include "settings/profile.h"

#include <QFile>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

using namespace korvane;

namespace {

QStringList keys;

void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QFile english(QStringLiteral(KORVANE_LANG_DIR "/english.lang"));
    check(english.open(QIODevice::ReadOnly));
    for (const QByteArray &line : english.readAll().split('\n')) {
        if (const qsizetype equals = line.indexOf('='); equals > 0)
            keys.append(QString::fromLatin1(line.first(equals)));
    }
    check(keys.size() > 100);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const settings::ProfileSnapshot language(bytes);
    const qsizetype turn = size == 0 ? 0 : data[0];
    for (qsizetype i = turn % 4; i < keys.size(); i += 4) {
        const QString text = language.value(QStringLiteral("lang"), keys.at(i));
        check(text.size() <= settings::MaxValueLength && text != u"Default");
        if (i / 4 == (turn / 4) % (keys.size() / 4))
            check(text == settings::profileValue(bytes, QStringLiteral("lang"), keys.at(i)));
    }
    return 0;
}
