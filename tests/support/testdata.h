#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace testdata {
// The reply datagrams of a capture from a real server (tests/data/captures), byte for byte.
QList<QByteArray> captureReplies(const QString &file);
QByteArray captureReply(const QString &file, int index = 0);
QByteArray readFile(const QString &path);
} // namespace testdata
