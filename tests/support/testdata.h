#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace testdata {
// The reply datagrams of a capture from a real server (tests/data/captures), byte for byte.
QList<QByteArray> captureReplies(const QString &file);
QByteArray captureReply(const QString &file, int index = 0);
QByteArray readFile(const QString &path);
// The bytes of a file, or "<missing>" when it cannot be read; for files a test expects to exist or not.
QByteArray bytesOrMissing(const QString &path);
// Replaces (or creates) a file with the given bytes; false when that fails.
bool writeBytes(const QString &path, const QByteArray &bytes);
} // namespace testdata
