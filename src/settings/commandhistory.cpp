#include "settings/commandhistory.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace korvane::settings {

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString failure(const QString &file, const QString &why)
{
    return QStringLiteral("The command history \"%1\" cannot be kept: %2").arg(QDir::toNativeSeparators(file), why);
}

} // namespace

CommandHistory::CommandHistory(QString file)
    : m_file(std::move(file))
{
}

QString CommandHistory::load()
{
    QFile in(m_file);
    if (!in.exists())
        return {};
    if (!in.open(QIODevice::ReadOnly))
        return failure(m_file, in.errorString());
    m_lines = QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
    if (m_lines.size() > MaxLines)
        m_lines.remove(0, m_lines.size() - MaxLines);
    return {};
}

QString CommandHistory::add(const QString &line)
{
    if (line.isEmpty() || (!m_lines.isEmpty() && m_lines.constLast() == line))
        return {};
    m_lines.append(line);
    if (m_lines.size() > MaxLines)
        m_lines.removeFirst();
    return save();
}

QString CommandHistory::save() const
{
    QByteArray out;
    for (const QString &line : m_lines) {
        // A pasted line break would split the command in two when read back: such a line is kept for
        // this run only.
        if (!line.contains(u'\n') && !line.contains(u'\r'))
            out += line.toUtf8() + '\n';
    }
    // Written whole beside the file and renamed over it, so a crash or a full disk leaves the old one;
    // made the owner's alone before anything is in it.
    QSaveFile save(m_file);
    if (!save.open(QIODevice::WriteOnly))
        return failure(m_file, save.errorString());
    if (!save.setPermissions(OwnerOnly) || save.write(out) != out.size()) {
        const QString why = save.errorString();
        save.cancelWriting();
        return failure(m_file, why);
    }
    if (!save.commit())
        return failure(m_file, save.errorString());
    return {};
}

} // namespace korvane::settings
