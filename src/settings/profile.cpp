#include "settings/profile.h"

#include "rcon/textcodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QHashSeed>
#include <QSaveFile>
#include <QStringView>

#include <algorithm>
#include <array>

// The file is parsed on its bytes: every character that gives the layout its structure ('[', ']', '=',
// ';', quotes, blanks, CR, LF) is ASCII and therefore one byte in Windows-1252. Names are compared on
// their bytes and only values are decoded, so a rewrite can keep every untouched byte exactly as it was.

namespace korvane::settings {

namespace {

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimBlanks(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.sliced(begin, end - begin);
}

// One line of the file as byte offsets into it.
struct Line {
    qsizetype begin = 0;      // first byte of the line
    qsizetype contentEnd = 0; // end of the text, before CR LF or LF
    qsizetype end = 0;        // after the line end; equals contentEnd for a last line without one
};

// The line that starts at `begin`.
Line lineAt(QByteArrayView bytes, qsizetype begin)
{
    const qsizetype lf = bytes.indexOf('\n', begin);
    if (lf < 0)
        return {begin, bytes.size(), bytes.size()};
    return {begin, (lf > begin && bytes[lf - 1] == '\r') ? lf - 1 : lf, lf + 1};
}

// Calls visit(line) for each line in order until it returns false. No list of lines is built: a file
// of millions of lines costs no more memory than its bytes.
template <typename Visit> void forEachLine(QByteArrayView bytes, Visit visit)
{
    for (qsizetype begin = 0; begin < bytes.size();) {
        const Line line = lineAt(bytes, begin);
        if (!visit(line))
            return;
        begin = line.end;
    }
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    QByteArrayView name;      // section or key name, blanks trimmed
    QByteArrayView value;     // entry value, blanks trimmed, quotes kept
    qsizetype valueBegin = 0; // entry: offset in the line of the first byte after '=' and its blanks
};

ParsedLine parseLine(QByteArrayView content)
{
    ParsedLine parsed;
    const QByteArrayView text = trimBlanks(content);
    if (text.isEmpty())
        return parsed;
    if (text.front() == ';') {
        parsed.kind = LineKind::Comment;
        return parsed;
    }
    if (text.front() == '[') {
        // The name runs to the first ']' (or to the end of the line when there is none); anything
        // after the bracket is ignored.
        const QByteArrayView inner = text.sliced(1);
        const qsizetype close = inner.indexOf(']');
        parsed.kind = LineKind::Section;
        parsed.name = trimBlanks(close < 0 ? inner : inner.first(close));
        return parsed;
    }
    const qsizetype equals = content.indexOf('=');
    if (equals < 0) {
        parsed.kind = LineKind::Other;
        return parsed;
    }
    qsizetype valueBegin = equals + 1;
    while (valueBegin < content.size() && isBlank(content[valueBegin]))
        ++valueBegin;
    parsed.kind = LineKind::Entry;
    parsed.name = trimBlanks(content.first(equals));
    parsed.value = trimBlanks(content.sliced(valueBegin));
    parsed.valueBegin = valueBegin;
    return parsed;
}

// Each byte's Windows-1252 character, case-folded as QString::compare(Qt::CaseInsensitive) folds it
// (simple folding, one character to one), so that names on disk compare without being decoded.
const std::array<char16_t, 256> &foldedBytes()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> folded{};
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        const QString characters = rcon::fromWire(all);
        for (int i = 0; i < 256; ++i)
            folded[i] = characters[i].toCaseFolded().unicode();
        return folded;
    }();
    return table;
}

char16_t folded(char byte)
{
    return foldedBytes()[static_cast<unsigned char>(byte)];
}

char16_t folded(QChar character)
{
    return character.toCaseFolded().unicode();
}

template <typename Name> bool sameFolded(QByteArrayView onDisk, const Name &other)
{
    if (onDisk.size() != other.size())
        return false;
    for (qsizetype i = 0; i < onDisk.size(); ++i) {
        if (folded(onDisk[i]) != folded(other[i]))
            return false;
    }
    return true;
}

bool sameName(QByteArrayView onDisk, const QString &wanted)
{
    return sameFolded(onDisk, wanted);
}

// FNV-1a over the folded characters, seeded per process like QHash, so that equal names in any
// letter case hash alike whether they come from the file or from the program.
template <typename Name> quint64 nameHash(const Name &name)
{
    quint64 hash = 14695981039346656037ULL ^ QHashSeed::globalSeed();
    for (const auto unit : name) {
        hash ^= folded(unit);
        hash *= 1099511628211ULL;
    }
    return hash;
}

QByteArrayView lineContent(QByteArrayView bytes, const Line &line)
{
    return bytes.sliced(line.begin, line.contentEnd - line.begin);
}

// Where a key stands in a file: the first section with the wanted name and, inside it, the first key
// with the wanted name.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line key;
    Line lastFilled; // last non-blank line of the section (its header when it is empty)
};

Location locate(QByteArrayView bytes, const QString &section, const QString &key)
{
    Location found;
    forEachLine(bytes, [&](const Line &line) {
        const ParsedLine parsed = parseLine(lineContent(bytes, line));
        if (!found.sectionFound) {
            if (parsed.kind == LineKind::Section && sameName(parsed.name, section)) {
                found.sectionFound = true;
                found.lastFilled = line;
            }
            return true;
        }
        switch (parsed.kind) {
        case LineKind::Section:
            return false; // the section ended without the key
        case LineKind::Blank:
            break;
        case LineKind::Entry:
            found.lastFilled = line;
            if (sameName(parsed.name, key)) {
                found.keyFound = true;
                found.key = line;
                return false;
            }
            break;
        case LineKind::Comment:
        case LineKind::Other:
            found.lastFilled = line;
            break;
        }
        return true;
    });
    return found;
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// One entry is one line: a line break inside a value would split the entry and could start a section.
QString singleLine(const QString &value)
{
    QString line = value;
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// New lines follow the file: LF when every line end already in it is a bare LF, CR LF otherwise.
QByteArray lineEndFor(QByteArrayView bytes)
{
    const qsizetype lfCount = bytes.count('\n');
    const qsizetype crLfCount = bytes.count(QByteArrayView("\r\n"));
    if (lfCount > 0 && crLfCount == 0)
        return QByteArrayLiteral("\n");
    return QByteArrayLiteral("\r\n");
}

// What a reader gives for the value of an entry as it stands on disk.
QString finishedValue(QByteArrayView value)
{
    const QByteArrayView text = unquoted(value);
    const QString finished = rcon::fromWire(text.first(qMin(text.size(), qsizetype(MaxValueLength))));
    // The text the platform reader hands back for a missing entry; a stored "Default" reads the same.
    if (finished == u"Default")
        return {};
    return finished;
}

QByteArray readAll(const QString &file)
{
    QFile in(file);
    if (file.isEmpty() || !in.open(QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

} // namespace

QString readValue(QByteArrayView bytes, const QString &section, const QString &key)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    const Location found = locate(bytes, sectionName, keyName);
    if (!found.keyFound)
        return {};
    return finishedValue(parseLine(lineContent(bytes, found.key)).value);
}

QByteArray withValue(QByteArrayView bytes, const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return bytes.toByteArray();

    const QByteArray lineEnd = lineEndFor(bytes);
    const QByteArray encodedValue = rcon::toWire(singleLine(value));
    const QByteArray entryLine = rcon::toWire(singleLine(keyName)) + '=' + encodedValue + lineEnd;
    const Location found = locate(bytes, sectionName, keyName);

    if (found.keyFound) {
        // Only the value changes: the key as spelled in the file, the blanks around '=' and the line
        // end stay.
        const ParsedLine entry = parseLine(lineContent(bytes, found.key));
        return bytes.first(found.key.begin + entry.valueBegin) + encodedValue + bytes.sliced(found.key.contentEnd);
    }
    if (found.sectionFound) {
        // The new key goes after the section's last non-blank line, ahead of the blank lines that part
        // it from the next section.
        const Line &last = found.lastFilled;
        const bool lastHasLineEnd = last.end > last.contentEnd;
        return bytes.first(last.end) + (lastHasLineEnd ? QByteArray() : lineEnd) + entryLine + bytes.sliced(last.end);
    }
    QByteArray out = bytes.toByteArray();
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += lineEnd;
    return out + '[' + rcon::toWire(singleLine(sectionName)) + ']' + lineEnd + entryLine;
}

Snapshot::Snapshot(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    qsizetype section = -1; // the header line of the section being read; -1 before any, or in a repeat
    forEachLine(m_bytes, [&](const Line &line) {
        const ParsedLine parsed = parseLine(lineContent(m_bytes, line));
        if (parsed.kind == LineKind::Section) {
            // Only the first section of a name counts, as for a single read: a repeat is not kept, so
            // that a file of many equal headers cannot make each look-up long.
            const quint64 hash = nameHash(parsed.name);
            section = line.begin;
            const auto [first, last] = m_sections.equal_range(hash);
            for (auto it = first; it != last; ++it) {
                if (sameFolded(headerName(*it), parsed.name))
                    section = -1;
            }
            if (section >= 0)
                m_sections.insert(hash, section);
        } else if (parsed.kind == LineKind::Entry && section >= 0) {
            m_entries.push_back({entryHash(section, nameHash(parsed.name)), line.begin});
        }
        return true;
    });
    // In hash order, and within one hash in file order: the first of equal keys is found first.
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry &a, const Entry &b) { return a.hash != b.hash ? a.hash < b.hash : a.line < b.line; });
}

Snapshot Snapshot::ofFile(const QString &file)
{
    return Snapshot(readAll(file));
}

QString Snapshot::value(const QString &section, const QString &key) const
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    const quint64 sectionHash = nameHash(sectionName);
    qsizetype header = -1;
    const auto [first, last] = m_sections.equal_range(sectionHash);
    for (auto it = first; it != last; ++it) {
        if (sameName(headerName(*it), sectionName) && (header < 0 || *it < header))
            header = *it; // the first of that name, should a repeat have been kept
    }
    if (header < 0)
        return {};
    const quint64 hash = entryHash(header, nameHash(keyName));
    auto it = std::lower_bound(m_entries.cbegin(), m_entries.cend(), hash,
                               [](const Entry &entry, quint64 wanted) { return entry.hash < wanted; });
    for (; it != m_entries.cend() && it->hash == hash; ++it) {
        // Another key of the same hash, never another section's (see entryHash).
        const ParsedLine entry = parseLine(lineContent(m_bytes, lineAt(m_bytes, it->line)));
        if (sameName(entry.name, keyName))
            return finishedValue(entry.value);
    }
    return {};
}

QByteArrayView Snapshot::headerName(qsizetype line) const
{
    return parseLine(lineContent(m_bytes, lineAt(m_bytes, line))).name;
}

quint64 Snapshot::entryHash(qsizetype sectionLine, quint64 keyHash)
{
    // For one key, distinct sections give distinct hashes (an odd factor is invertible modulo 2^64).
    return keyHash ^ (static_cast<quint64>(sectionLine + 1) * 0x9E3779B97F4A7C15ULL);
}

QString readProfileString(const QString &section, const QString &key, const QString &file)
{
    return readValue(readAll(file), section, key);
}

void writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty() || file.isEmpty())
        return;

    QByteArray bytes;
    QFile in(file);
    if (in.exists()) {
        // A file that exists but cannot be read is left alone rather than replaced by one entry.
        if (!in.open(QIODevice::ReadOnly))
            return;
        bytes = in.readAll();
        in.close();
    }

    const QByteArray out = withValue(bytes, sectionName, keyName, value);

    if (out == bytes && in.exists())
        return;

    // QSaveFile writes a temporary file beside the target and renames it over the target on commit, so
    // the old file stays whole until the new one is complete. Every failure ends here without a word.
    QSaveFile save(file);
    if (!save.open(QIODevice::WriteOnly))
        return;
    if (save.write(out) != out.size()) {
        save.cancelWriting();
        return;
    }
    save.commit();
}

} // namespace korvane::settings
