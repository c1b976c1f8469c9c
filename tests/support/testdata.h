#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTest>

// Every test writes its texts one way: u"..."_s.
using namespace Qt::StringLiterals;

namespace testdata {
// A data column "row" of indexes into a table whose entries begin with their row name; the current entry.
template <typename Table> void addRows(const Table &table)
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(table)); ++i)
        QTest::newRow(table[i].name) << i;
}
template <typename Table> const auto &current(const Table &table)
{
    return table[*static_cast<int *>(QTest::qData("row", qMetaTypeId<int>()))];
}

// A reply datagram of a capture from a real server (tests/data/captures), byte for byte.
QByteArray captureReply(const QString &file, int index = 0);
// The bytes of a file, or "<missing>" when it cannot be read; for files a test expects to exist or not.
QByteArray bytesOrMissing(const QString &path);
// Replaces (or creates) a file with the given bytes; false when that fails.
bool writeBytes(const QString &path, const QByteArray &bytes);
// Whether a file or folder is its owner's alone, as the program makes the store and the user's folders:
// only its owner may read and write it (and enter it, for a folder). Windows keeps that in access lists
// that inherit from the folder above (the user's profile is the user's own), and Qt shows only the
// read-only attribute of a file there: a file counts when its owner may read and write it.
bool isOwnerOnly(const QString &path);
} // namespace testdata
