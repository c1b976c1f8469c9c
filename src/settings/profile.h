#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// INI profile access with the semantics the program's settings and language files were written for:
// section and key names match without regard to case; a missing file, section or key, an empty value
// and the value "Default" all read as the empty text; values are cut to 254 characters; the file is
// Windows-1252 on disk. readProfileString and writeProfileString go to the file at every call.
namespace korvane::settings {

inline constexpr int MaxValueLength = 254;

// A section or key name as these functions take it: blanks and tabs around it do not count.
QString profileName(QStringView name);

// The same rules as pure functions on a file's bytes.
// What readProfileString gives for key in section of a file that holds `bytes`.
QString profileValue(QByteArrayView bytes, const QString &section, const QString &key);
// What writeProfileString writes over a file that holds `bytes` (empty: no file): the key's value
// replaced, or the key, or its section and the key, added; every other byte as it was. A line break in
// a name or the value becomes a blank. Empty names change nothing.
QByteArray withProfileValue(QByteArrayView bytes, const QString &section, const QString &key, const QString &value);

// A profile file read once, for many look-ups with the answers readProfileString would give each: a
// window takes all its captions from one read of its language file. Beside the file's bytes it holds
// an index of 16 bytes per entry and section; a later change to the file is not seen.
class ProfileSnapshot final {
public:
    ProfileSnapshot() = default; // as a missing file
    explicit ProfileSnapshot(QByteArray bytes);
    // A missing or unreadable file reads as empty for every key.
    static ProfileSnapshot ofFile(const QString &file);

    QString value(const QString &section, const QString &key) const;

private:
    struct Indexed {
        quint64 hash; // of the folded name; for an entry, of its key's and its section's
        qsizetype line;
    };
    // The line of the first name in the file with that hash that is the name; -1 when none.
    qsizetype find(const std::vector<Indexed> &index, quint64 hash, QStringView name) const;
    static quint64 entryHash(qsizetype sectionLine, quint64 keyHash);

    QByteArray m_bytes;
    std::vector<Indexed> m_sections; // by hash, then in file order
    std::vector<Indexed> m_entries;
};

QString readProfileString(const QString &section, const QString &key, const QString &file);

// Replaces one key's value and keeps every other line of the file as it was; creates the key, the
// section or the file when missing. The new file replaces the old one in one step, so a crash never
// leaves a truncated file. A failed write leaves the file as it was and returns false, with the
// reason in *reason when given.
bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file,
                        QString *reason = nullptr);

} // namespace korvane::settings
