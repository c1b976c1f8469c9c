#include "testdata.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace testdata {

QByteArray bytesOrMissing(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QList<QByteArray> captureReplies(const QString &file)
{
    const QByteArray json = bytesOrMissing(QStringLiteral(KORVANE_TEST_DATA "/captures/") + file);
    QList<QByteArray> replies;
    const QJsonArray array = QJsonDocument::fromJson(json).object().value(u"replies").toArray();
    for (const QJsonValue &reply : array)
        replies.append(QByteArray::fromHex(reply.toObject().value(u"hex").toString().toLatin1()));
    return replies;
}

QByteArray captureReply(const QString &file, int index)
{
    return captureReplies(file).value(index);
}

} // namespace testdata
