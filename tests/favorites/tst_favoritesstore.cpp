#include "favorites/favoritesstore.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

using korvane::favorites::FavoriteServer;
using korvane::favorites::FavoritesStore;
using namespace Qt::StringLiterals;

namespace {

using Rows = QList<QStringList>;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs one statement through a connection of the test's own; its first row, or the error.
QStringList rawSql(const QString &path, const QString &statement)
{
    QStringList row;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"raw"_s);
        db.setDatabaseName(path);
        const bool opened = db.open();
        QSqlQuery query(db);
        if (!opened || !query.exec(statement))
            row.append(u"ERROR: "_s + db.lastError().text() + query.lastError().text());
        for (int i = 0; query.first() && i < query.record().count(); ++i)
            row.append(query.value(i).toString());
    }
    QSqlDatabase::removeDatabase(u"raw"_s);
    return row;
}

QStringList fields(const FavoriteServer &server)
{
    return {server.name, server.ip, server.port, server.rconPassword};
}

Rows listed(FavoritesStore &store)
{
    Rows rows;
    for (const FavoriteServer &server : store.listAll().value_or(QList<FavoriteServer>()))
        rows.append(fields(server));
    return rows;
}

} // namespace

class TestFavoritesStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    QString m_path;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        // Characters that mean something in a file URI or a URL, and a non-ASCII one, in every path.
        m_folder = m_dir->filePath(u"a b?c#d%20e;f=g&h Ü"_s);
        QVERIFY(QDir().mkpath(m_folder));
        m_path = m_folder + u"/Korvane.mdb"_s;
    }

    void cleanup()
    {
        // Every operation closes and removes its own connection before it returns.
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
    }

    void storeIsMadeForTheOwnerOnly_data()
    {
        QTest::addColumn<bool>("emptyFileThere"); // else no file at all
        QTest::newRow("missing file") << false;
        QTest::newRow("empty file readable by all") << true;
    }

    void storeIsMadeForTheOwnerOnly()
    {
        QFETCH(bool, emptyFileThere);
        if (emptyFileThere)
            QVERIFY(writeFile(m_path, QByteArray()) &&
                    QFile::setPermissions(m_path,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        FavoritesStore store(m_path);
        QVERIFY(!store.findByName(u"Nobody"_s));
        QCOMPARE(store.lastError(), u"No favourite server is named \"Nobody\"."_s);
        // Owner, group and others; the "user" bits only repeat the owner's for the test's own user.
        QCOMPARE(QFile::permissions(m_path) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(rawSql(m_path, u"SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info('Servers')"_s),
                 QStringList{u"id INTEGER, Name TEXT, IP TEXT, Port TEXT, RconPassword TEXT"_s});
        const auto servers = store.listAll();
        QVERIFY2(servers && servers->isEmpty(), qPrintable(store.lastError()));
        QCOMPARE(store.lastError(), QString());
    }

    void fieldsStoredAndFoundExactly_data()
    {
        QTest::addColumn<QStringList>("server");
        QTest::newRow("quotes") << QStringList{u"O'Brien's \"Best\""_s, u"host'\""_s, u"279'60\""_s, u"pa'ss\"w"_s};
        QTest::newRow("backslashes") << QStringList{u"C:\\servers\\"_s, u"\\\\host"_s, u"27960\\"_s, u"\\n\\0"_s};
        QTest::newRow("unicode") << QStringList{u"Ünïcødé 服务器"_s, u"ünï.example"_s, u"２７９６０"_s, u"pässwörd€"_s};
        QTest::newRow("name with \" - \", port with a leading zero")
            << QStringList{u"Main - EU - 2"_s, u"10.0.0.1"_s, u"027960"_s, u"pw"_s};
        // Once bound as SQL NULL, which '=' never matches.
        QTest::newRow("null strings") << QStringList{QString(), QString(), QString(), QString()};
    }

    void fieldsStoredAndFoundExactly()
    {
        QFETCH(QStringList, server);
        FavoritesStore store(m_path);
        QVERIFY2(store.insert(server.at(0), server.at(1), server.at(2), server.at(3)), qPrintable(store.lastError()));
        QCOMPARE(listed(store), Rows{server});
        const auto found = store.findByName(server.at(0));
        QVERIFY2(found, qPrintable(store.lastError()));
        QCOMPARE(fields(*found), server);
        // Stored as text, never NULL nor a number: seen through another connection.
        QCOMPARE(rawSql(m_path, u"SELECT typeof(Name) || typeof(IP) || typeof(Port) || typeof(RconPassword), "
                                "Name, IP, Port, RconPassword FROM Servers"_s),
                 QStringList{u"texttexttexttext"_s} + server);
        QVERIFY2(store.removeByName(server.at(0)), qPrintable(store.lastError()));
        QCOMPARE(listed(store), Rows());
    }

    void idOrderTwinNamesAndRowsById()
    {
        FavoritesStore store(m_path);
        const Rows rows{{u"Twin"_s, u"1.1.1.1"_s, u"1"_s, u"first"_s},
                        {u"Alpha - Beta"_s, u"3.3.3.3"_s, u"3"_s, u"ab"_s},
                        {u"Twin"_s, u"2.2.2.2"_s, u"2"_s, u"second"_s},
                        {u"Alpha"_s, u"4.4.4.4"_s, u"4"_s, u"a"_s}};
        for (const QStringList &row : rows)
            QVERIFY(store.insert(row.at(0), row.at(1), row.at(2), row.at(3)));
        QCOMPARE(listed(store), rows); // in id order, not by name
        const QList<FavoriteServer> servers = store.listAll().value_or(QList<FavoriteServer>());
        QCOMPARE(fields(store.findByName(u"Twin"_s).value_or(FavoriteServer())), rows.at(0));

        // By id: that row and no other of its name.
        QCOMPARE(fields(store.findById(servers.at(2).id).value_or(FavoriteServer())), rows.at(2));
        QVERIFY(store.removeById(servers.at(2).id));
        QVERIFY(store.removeById(servers.at(1).id));
        QCOMPARE(listed(store), (Rows{rows.at(0), rows.at(3)}));
        QVERIFY(!store.findById(servers.at(2).id));
        QCOMPARE(store.lastError(), u"No favourite server has the id %1."_s.arg(servers.at(2).id));

        QVERIFY(store.removeByName(u"Twin"_s));
        QCOMPARE(listed(store), Rows{rows.at(3)});
    }

    void lockedStoreFailsRatherThanWaits()
    {
        FavoritesStore store(m_path);
        QVERIFY(store.insert(u"A"_s, u"h"_s, u"1"_s, u"p"_s));
        // Another program holds the store locked for longer than an operation waits for it.
        QSemaphore locked;
        const std::unique_ptr<QThread> holder(QThread::create([&] {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
                db.setDatabaseName(m_path);
                QSqlQuery query(db);
                if (!db.open() || !query.exec(u"BEGIN EXCLUSIVE"_s))
                    qWarning() << "holder:" << db.lastError().text() << query.lastError().text();
                locked.release();
                QThread::sleep(3);
            }
            QSqlDatabase::removeDatabase(u"holder"_s);
        }));
        holder->start();
        locked.acquire();
        QVERIFY(!store.insert(u"B"_s, u"h"_s, u"2"_s, u"p"_s));
        QVERIFY2(store.lastError().contains(u"database is locked"_s) && store.lastError().contains(m_path),
                 qPrintable(store.lastError()));
        holder->wait();
        QCOMPARE(listed(store).size(), 1);
    }

    void brokenStoreFailsEveryOperationAndIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("content"); // the file's bytes, unless
        QTest::addColumn<QString>("table");      // a table made by another tool
        QTest::addColumn<QString>("expected");   // in every message
        const QString notSqlite = u"the file is not an SQLite database"_s;
        QTest::newRow("text file") << QByteArray("Name,IP,Port\r\nhome,10.0.0.1,27960\r\n") << QString() << notSqlite;
        // SQLite itself would take a file this short for an empty database and write over it.
        QTest::newRow("one byte") << QByteArray("x") << QString() << notSqlite;
        QTest::newRow("database header, garbage after it")
            << QByteArray("SQLite format 3", 16) + QByteArray(1008, '\xA5') << QString() << u"file is not a database"_s;
        QTest::newRow("table without a password column")
            << QByteArray() << u"CREATE TABLE Servers (id INTEGER PRIMARY KEY, Name TEXT, IP TEXT, Port TEXT)"_s
            << u"has no column RconPassword"_s;
    }

    void brokenStoreFailsEveryOperationAndIsLeftAlone()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, table);
        QFETCH(QString, expected);
        if (table.isEmpty())
            QVERIFY(writeFile(m_path, content));
        else
            QCOMPARE(rawSql(m_path, table), QStringList());
        const QByteArray before = testdata::readFile(m_path);

        FavoritesStore store(m_path);
        const std::function<bool()> operations[] = {
            [&] { return store.listAll().has_value(); }, [&] { return store.findByName(u"A"_s).has_value(); },
            [&] { return store.removeByName(u"A"_s); },  [&] { return store.findById(1).has_value(); },
            [&] { return store.removeById(1); },         [&] { return store.insert(u"A"_s, u"h"_s, u"1"_s, u"p"_s); },
        };
        for (const auto &operation : operations) {
            QVERIFY(!operation());
            QVERIFY2(store.lastError().contains(expected) && store.lastError().contains(m_path),
                     qPrintable(store.lastError()));
        }
        QCOMPARE(testdata::readFile(m_path), before);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"Korvane.mdb"_s});
    }
};

QTEST_GUILESS_MAIN(TestFavoritesStore)
#include "tst_favoritesstore.moc"
