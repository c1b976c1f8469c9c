#include "settings/profile.h"

#include <QFile>
#include <QSaveFile>

// The profile functions on files: every call reads the file anew, and a write replaces it in one step.
namespace korvane::settings {

namespace {

QByteArray readAll(const QString &file)
{
    QFile in(file);
    if (file.isEmpty() || !in.open(QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

} // namespace

ProfileSnapshot ProfileSnapshot::ofFile(const QString &file)
{
    return ProfileSnapshot(readAll(file));
}

QString readProfileString(const QString &section, const QString &key, const QString &file)
{
    return profileValue(readAll(file), section, key);
}

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file,
                        QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString sectionName = profileName(section);
    const QString keyName = profileName(key);
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

    const QByteArray out = withProfileValue(bytes, sectionName, keyName, value);

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
