#include "settings/profile.h"

#include "rcon/textcodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringView>

// The file is parsed on its bytes: every character that gives the layout its structure ('[', ']', '=',
// ';', quotes, blanks, CR, LF) is ASCII and therefore one byte in Windows-1252. Only section names,
// key names and values are decoded, so a rewrite can keep every untouched byte exactly as it was.

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

QList<Line> splitLines(QByteArrayView bytes)
{
    QList<Line> lines;
    qsizetype begin = 0;
    while (begin < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', begin);
        Line line;
        line.begin = begin;
        if (lf < 0) {
            line.contentEnd = bytes.size();
            line.end = bytes.size();
        } else {
            line.contentEnd = (lf > begin && bytes[lf - 1] == '\r') ? lf - 1 : lf;
            line.end = lf + 1;
        }
        lines.append(line);
        begin = line.end;
    }
    return lines;
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

bool sameName(QByteArrayView onDisk, const QString &wanted)
{
    return rcon::fromWire(onDisk).compare(wanted, Qt::CaseInsensitive) == 0;
}

QByteArrayView lineContent(QByteArrayView bytes, const Line &line)
{
    return bytes.sliced(line.begin, line.contentEnd - line.begin);
}

// Where a key stands in a file: the first section with the wanted name and, inside it, the first key
// with the wanted name. Indexes into the line list, -1 when absent.
struct Location {
    qsizetype sectionLine = -1;
    qsizetype keyLine = -1;
    qsizetype lastFilledLine = -1; // last non-blank line of the section (its header when it is empty)
};

Location locate(QByteArrayView bytes, const QList<Line> &lines, const QString &section, const QString &key)
{
    Location found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(lineContent(bytes, lines[i]));
        if (found.sectionLine < 0) {
            if (parsed.kind == LineKind::Section && sameName(parsed.name, section)) {
                found.sectionLine = i;
                found.lastFilledLine = i;
            }
            continue;
        }
        switch (parsed.kind) {
        case LineKind::Section:
            return found; // the section ended without the key
        case LineKind::Blank:
            break;
        case LineKind::Entry:
            found.lastFilledLine = i;
            if (sameName(parsed.name, key)) {
                found.keyLine = i;
                return found;
            }
            break;
        case LineKind::Comment:
        case LineKind::Other:
            found.lastFilledLine = i;
            break;
        }
    }
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

} // namespace

QString readProfileString(const QString &section, const QString &key, const QString &file)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty() || file.isEmpty())
        return {};

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.readAll();
    in.close();

    const QList<Line> lines = splitLines(bytes);
    const Location found = locate(bytes, lines, sectionName, keyName);
    if (found.keyLine < 0)
        return {};

    const ParsedLine entry = parseLine(lineContent(bytes, lines[found.keyLine]));
    const QByteArrayView value = unquoted(entry.value);
    const QString text = rcon::fromWire(value.first(qMin(value.size(), qsizetype(MaxValueLength))));
    // The text the platform reader hands back for a missing entry; a stored "Default" reads the same.
    if (text == u"Default")
        return {};
    return text;
}

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file,
                        QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty() || file.isEmpty())
        return fail(QStringLiteral("no file, section or key was named"));

    QByteArray bytes;
    QFile in(file);
    if (in.exists()) {
        // A file that exists but cannot be read is left alone rather than replaced by one entry.
        if (!in.open(QIODevice::ReadOnly))
            return fail(in.errorString());
        bytes = in.readAll();
        in.close();
    }

    const QByteArray lineEnd = lineEndFor(bytes);
    const QByteArray encodedValue = rcon::toWire(singleLine(value));
    const QByteArray entryLine = rcon::toWire(singleLine(keyName)) + '=' + encodedValue + lineEnd;

    const QList<Line> lines = splitLines(bytes);
    const Location found = locate(bytes, lines, sectionName, keyName);

    QByteArray out;
    if (found.keyLine >= 0) {
        // Only the value changes: the key as spelled in the file, the blanks around '=' and the line
        // end stay.
        const Line &line = lines[found.keyLine];
        const ParsedLine entry = parseLine(lineContent(bytes, line));
        out = bytes.first(line.begin + entry.valueBegin) + encodedValue + bytes.sliced(line.contentEnd);
    } else if (found.sectionLine >= 0) {
        // The new key goes after the section's last non-blank line, ahead of the blank lines that part
        // it from the next section.
        const Line &last = lines[found.lastFilledLine];
        const bool lastHasLineEnd = last.end > last.contentEnd;
        out = bytes.first(last.end) + (lastHasLineEnd ? QByteArray() : lineEnd) + entryLine + bytes.sliced(last.end);
    } else {
        out = bytes;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += lineEnd;
        out += '[' + rcon::toWire(singleLine(sectionName)) + ']' + lineEnd + entryLine;
    }

    if (out == bytes && in.exists())
        return true;

    // QSaveFile writes a temporary file beside the target and renames it over the target on commit, so
    // the old file stays whole until the new one is complete.
    QSaveFile save(file);
    if (!save.open(QIODevice::WriteOnly))
        return fail(save.errorString());
    if (save.write(out) != out.size()) {
        const QString why = save.errorString();
        save.cancelWriting();
        return fail(why);
    }
    if (!save.commit())
        return fail(save.errorString());
    return true;
}

} // namespace korvane::settings
