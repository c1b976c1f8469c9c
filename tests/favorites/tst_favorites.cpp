// The favourites store over a real file.

#include "fakeserver.h"
#include "favorites/favoritesstore.h"

#include <QDir>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

using korvane::favorites::FavoritesStore;

// A folder whose name means something in a URL, and that Windows allows too.
const QString UrlLikeFolder = u"a b#c%20d;e=f&g Ü"_s;

class TestFavorites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every operation closes and removes its own connection before it returns.
    void cleanup() { QCOMPARE(QSqlDatabase::connectionNames(), QStringList()); }

    void storedExactly_data()
    {
        QTest::addColumn<QStringList>("server");
        QTest::newRow("quotes, backslashes, unicode, leading zero")
            << QStringList{u"O'Brien's \"Best\" 服务器"_s, u"\\\\ünï'"_s, u"027\\960\""_s, u"pa'ss\"wörd€"_s};
        // Once bound as SQL NULL, which '=' never matches.
        QTest::newRow("null strings") << QStringList{QString(), QString(), QString(), QString()};
    }

    // Created for its owner only, in a folder whose name means something in a URL; a name finds its first row.
    void storedExactly()
    {
        QFETCH(QStringList, server);
        QTemporaryDir dir;
        const QString path = dir.filePath(UrlLikeFolder + u"/Korvane.mdb"_s);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        FavoritesStore store(path);
        for (const QStringList &row : {server, QStringList{server[0], u"2"_s, u"2"_s, u"second"_s}})
            QVERIFY2(store.insert(row[0], row[1], row[2], row[3]), qPrintable(store.lastError()));
        QVERIFY(testdata::isOwnerOnly(path));
        const auto found = store.findByName(server[0]);
        QVERIFY2(found, qPrintable(store.lastError()));
        QCOMPARE((QStringList{found->name, found->ip, found->port, found->rconPassword}), server);
        QVERIFY2(store.removeByName(server[0]) && store.listAll().value().isEmpty(), qPrintable(store.lastError()));
    }

    // Every operation fails with a message naming the file; the file keeps its bytes, nothing is added. SQLite itself
    // would take a file this short for an empty database and write over it.
    void brokenStoreIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Korvane.mdb"_s);
        QVERIFY(testdata::writeBytes(path, "x"));
        FavoritesStore store(path);
        QVERIFY(!store.listAll() && !store.findByName(u"A"_s) && !store.removeByName(u"A"_s) &&
                !store.insert(u"A"_s, u"h"_s, u"1"_s, u"p"_s));
        QCOMPARE(store.lastError(),
                 u"The favourites store \"%1\" cannot be read: the file is not an SQLite database."_s.arg(path));
        QCOMPARE(testdata::bytesOrMissing(path), QByteArray("x"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Korvane.mdb"_s});
    }

    // An empty file is made into the store for its owner only, as a new one is; a row no longer there is said.
    void emptyFileBecomesTheStore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Korvane.mdb"_s);
        QVERIFY(testdata::writeBytes(path, {}) && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                                                  QFile::ReadGroup | QFile::ReadOther));
        FavoritesStore store(path);
        QVERIFY2(store.insert(u"A"_s, u"h"_s, u"1"_s, u"p"_s), qPrintable(store.lastError()));
        QVERIFY(testdata::isOwnerOnly(path));
        const qint64 id = store.listAll().value().at(0).id;
        QVERIFY(store.removeById(id) && !store.findById(id));
        QCOMPARE(store.lastError(), u"No favourite server has the id %1."_s.arg(id));
    }

    // Another program holds the store locked: an operation fails at once, naming itself and the reason.
    void lockedStoreFailsRatherThanWaits()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Korvane.mdb"_s);
        FavoritesStore store(path);
        QVERIFY(store.insert(u"A"_s, u"h"_s, u"1"_s, u"p"_s));
        QSemaphore locked;
        const std::unique_ptr<QThread> holder(QThread::create([&] {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
                db.setDatabaseName(path);
                QVERIFY(db.open() && QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s));
                locked.release();
                QThread::sleep(3);
            }
            QSqlDatabase::removeDatabase(u"holder"_s);
        }));
        holder->start();
        locked.acquire();
        QVERIFY(!store.insert(u"B"_s, u"h"_s, u"2"_s, u"p"_s));
        QVERIFY2(store.lastError().startsWith(u"The favourite server \"B\" cannot be added: database is locked"_s),
                 qPrintable(store.lastError()));
        holder->wait();
        QCOMPARE(store.listAll().value().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFavorites)
#include "tst_favorites.moc"
