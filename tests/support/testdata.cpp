#include "testdata.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace testdata {

QByteArray bytesOrMissing(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray captureReply(const QString &file, int index)
{
    const QByteArray json = bytesOrMissing(QString::fromUtf8(KORVANE_TEST_DATA "/captures/") + file);
    const QJsonArray replies = QJsonDocument::fromJson(json).object().value(u"replies").toArray();
    return QByteArray::fromHex(replies.at(index).toObject().value(u"hex").toString().toLatin1());
}

bool isOwnerOnly(const QString &path)
{
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    return info.exists() && info.isReadable() && info.isWritable();
#else
    const QFileDevice::Permissions read = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions owner = info.isDir() ? read | QFileDevice::ExeOwner : read;
    // Qt's "user" bits repeat the owner's for the file's owner.
    const auto others = QFileDevice::Permissions::fromInt(0x0077);
    return info.exists() && (info.permissions() & (owner | others)) == owner;
#endif
}

} // namespace testdata
