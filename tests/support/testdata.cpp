#include "testdata.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace testdata {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

QList<QByteArray> captureReplies(const QString &file)
{
    const QJsonDocument doc = QJsonDocument::fromJson(readFile(QStringLiteral(KORVANE_TEST_DATA "/captures/") + file));
    QList<QByteArray> replies;
    const QJsonArray array = doc.object().value(u"replies").toArray();
    for (const QJsonValue &reply : array)
        replies.append(QByteArray::fromHex(reply.toObject().value(u"hex").toString().toLatin1()));
    return replies;
}

QByteArray captureReply(const QString &file, int index)
{
    return captureReplies(file).value(index);
}

} // namespace testdata
