#pragma once

#include <QString>

// INI profile access with the semantics the program's settings and language files were written for:
// section and key names match without regard to case; a missing file, section or key, an empty value
// and the value "Default" all read as the empty text; values are cut to 254 characters; the file is
// Windows-1252 on disk; nothing is cached, every call goes to the file.
namespace korvane::settings {

inline constexpr int MaxValueLength = 254;

QString readProfileString(const QString &section, const QString &key, const QString &file);

// Replaces one key's value and keeps every other line of the file as it was; creates the key, the
// section or the file when missing. The new file replaces the old one in one step, so a crash never
// leaves a truncated file. A failed write leaves the file as it was and returns false, with the
// reason in *reason when given.
bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file,
                        QString *reason = nullptr);

} // namespace korvane::settings
