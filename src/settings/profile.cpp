#include "settings/profile.h"

#include "rcon/textcodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHashSeed>
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

QStringView blankTrimmed(QStringView text)
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

bool sameName(QByteArrayView onDisk, QStringView wanted)
{
    if (onDisk.size() != wanted.size())
        return false;
    for (qsizetype i = 0; i < onDisk.size(); ++i) {
        if (folded(onDisk[i]) != folded(wanted[i]))
            return false;
    }
    return true;
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

Location locate(QByteArrayView bytes, QStringView section, QStringView key)
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
QString singleLine(QStringView value)
{
    QString line = value.toString();
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

// The line end that closes a last line that has none. After a lone CR it is CR LF: a bare LF would
// join that CR into a line end, and the line would lose its last character and read otherwise.
QByteArray lineEndAfter(QByteArrayView text, const QByteArray &lineEnd)
{
    return text.endsWith('\r') ? QByteArrayLiteral("\r\n") : lineEnd;
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

} // namespace

QString profileValue(QByteArrayView bytes, const QString &section, const QString &key)
{
    const QStringView sectionName = blankTrimmed(section);
    const QStringView keyName = blankTrimmed(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    const Location found = locate(bytes, sectionName, keyName);
    if (!found.keyFound)
        return {};
    return finishedValue(parseLine(lineContent(bytes, found.key)).value);
}

QByteArray withProfileValue(QByteArrayView bytes, const QString &section, const QString &key, const QString &value)
{
    const QStringView sectionName = blankTrimmed(section);
    const QStringView keyName = blankTrimmed(key);
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
        const QByteArrayView before = bytes.first(last.end);
        return before + (lastHasLineEnd ? QByteArray() : lineEndAfter(before, lineEnd)) + entryLine +
               bytes.sliced(last.end);
    }
    QByteArray out = bytes.toByteArray();
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += lineEndAfter(out, lineEnd);
    return out + '[' + rcon::toWire(singleLine(sectionName)) + ']' + lineEnd + entryLine;
}

ProfileSnapshot::ProfileSnapshot(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    qsizetype section = -1; // the header line of the section being read; -1 before the first
    forEachLine(m_bytes, [&](const Line &line) {
        const ParsedLine parsed = parseLine(lineContent(m_bytes, line));
        if (parsed.kind == LineKind::Section) {
            section = line.begin;
            m_sections.push_back({nameHash(parsed.name), section});
        } else if (parsed.kind == LineKind::Entry && section >= 0) {
            m_entries.push_back({entryHash(section, nameHash(parsed.name)), line.begin});
        }
        return true;
    });
    // In hash order, and within one hash in file order, so that the first of equal names is found first.
    for (std::vector<Indexed> *index : {&m_sections, &m_entries}) {
        std::sort(index->begin(), index->end(), [](const Indexed &a, const Indexed &b) {
            return a.hash != b.hash ? a.hash < b.hash : a.line < b.line;
        });
    }
}

QString ProfileSnapshot::value(const QString &section, const QString &key) const
{
    const QStringView sectionName = blankTrimmed(section);
    const QStringView keyName = blankTrimmed(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return {};
    // The first section of that name; an entry of a later one is indexed under its own header, which
    // is never found.
    const qsizetype header = find(m_sections, nameHash(sectionName), sectionName);
    if (header < 0)
        return {};
    const qsizetype entry = find(m_entries, entryHash(header, nameHash(keyName)), keyName);
    if (entry < 0)
        return {};
    return finishedValue(parseLine(lineContent(m_bytes, lineAt(m_bytes, entry))).value);
}

qsizetype ProfileSnapshot::find(const std::vector<Indexed> &index, quint64 hash, QStringView name) const
{
    auto it = std::lower_bound(index.cbegin(), index.cend(), hash,
                               [](const Indexed &indexed, quint64 wanted) { return indexed.hash < wanted; });
    for (; it != index.cend() && it->hash == hash; ++it) {
        // Names of the same hash: the name itself decides.
        if (sameName(parseLine(lineContent(m_bytes, lineAt(m_bytes, it->line))).name, name))
            return it->line;
    }
    return -1;
}

quint64 ProfileSnapshot::entryHash(qsizetype sectionLine, quint64 keyHash)
{
    // For one key, distinct sections give distinct hashes (an odd factor is invertible modulo 2^64).
    return keyHash ^ (static_cast<quint64>(sectionLine + 1) * 0x9E3779B97F4A7C15ULL);
}

QString profileName(QStringView name)
{
    return blankTrimmed(name).toString();
}

} // namespace korvane::settings
