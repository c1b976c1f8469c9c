#include "favorites/favoritesstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <unistd.h>

using korvane::FavoriteServer;
using korvane::FavoritesStore;

namespace {

constexpr QFileDevice::Permissions OwnerReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions AllPermissionBits =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
    QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
    QFileDevice::ExeOther;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs statements on the file through a connection of the test's own, independent of the store.
// Returns the rows of the last statement, each as a list of texts; an error as a single row "ERROR: ...".
QList<QStringList> rawSql(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("tst-favoritesstore-raw");
    QList<QStringList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            rows.append({QStringLiteral("ERROR: ") + db.lastError().text()});
        } else {
            QSqlQuery query(db);
            for (const QString &statement : statements) {
                rows.clear();
                if (!query.exec(statement)) {
                    rows.append({QStringLiteral("ERROR: ") + query.lastError().text()});
                    break;
                }
                while (query.next()) {
                    QStringList row;
                    for (int i = 0; i < query.record().count(); ++i)
                        row.append(query.value(i).toString());
                    rows.append(row);
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QStringList names(const QList<FavoriteServer> &servers)
{
    QStringList result;
    for (const FavoriteServer &server : servers)
        result.append(server.name);
    return result;
}

} // namespace

class TestFavoritesStore : public QObject {
    Q_OBJECT

private:
    QString storePath() const { return m_dir->filePath(QStringLiteral("Korvane.mdb")); }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        // Every operation closes and removes its own connection before it returns.
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
        m_dir.reset();
    }

    void emptyStoreListsNothing()
    {
        FavoritesStore store(storePath());
        const auto servers = store.listAll();
        QVERIFY2(servers.has_value(), qPrintable(store.lastError()));
        QVERIFY(servers->isEmpty());
        QCOMPARE(store.lastError(), QString());
    }

    void missingFileIsCreatedForOwnerOnly_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("list all") << 0;
        QTest::newRow("find by name") << 1;
        QTest::newRow("remove by name") << 2;
        QTest::newRow("insert") << 3;
    }

    void missingFileIsCreatedForOwnerOnly()
    {
        QFETCH(int, operation);
        QVERIFY(!QFileInfo::exists(storePath()));
        FavoritesStore store(storePath());
        switch (operation) {
        case 0:
            QVERIFY(store.listAll().has_value());
            break;
        case 1:
            QVERIFY(!store.findByName(QStringLiteral("Nobody")).has_value());
            QCOMPARE(store.lastError(), QStringLiteral("No favourite server is named \"Nobody\"."));
            break;
        case 2:
            QVERIFY(store.removeByName(QStringLiteral("Nobody")));
            break;
        case 3:
            QVERIFY(store.insert(QStringLiteral("A"), QStringLiteral("1.2.3.4"), QStringLiteral("27960"),
                                 QStringLiteral("pw")));
            break;
        }

        const QFileInfo info(storePath());
        QVERIFY(info.isFile());
        QCOMPARE(info.permissions() & AllPermissionBits &
                     ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
                 OwnerReadWrite);

        const QList<QStringList> columns = rawSql(storePath(), {QStringLiteral("PRAGMA table_info(Servers)")});
        QList<QStringList> nameAndType;
        for (const QStringList &column : columns)
            nameAndType.append({column.value(1), column.value(2)});
        const QList<QStringList> expected = {
            {QStringLiteral("id"), QStringLiteral("INTEGER")},        {QStringLiteral("Name"), QStringLiteral("TEXT")},
            {QStringLiteral("IP"), QStringLiteral("TEXT")},           {QStringLiteral("Port"), QStringLiteral("TEXT")},
            {QStringLiteral("RconPassword"), QStringLiteral("TEXT")},
        };
        QCOMPARE(nameAndType, expected);
    }

    void existingFileKeepsItsPermissions()
    {
        QVERIFY(writeFile(storePath(), {}));
        const QFileDevice::Permissions wide = OwnerReadWrite | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(storePath(), wide));

        FavoritesStore store(storePath());
        QVERIFY2(store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")),
                 qPrintable(store.lastError()));
        QCOMPARE(QFileInfo(storePath()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }

    void bareNameResolvesInWorkingFolder()
    {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        FavoritesStore store(QStringLiteral("Korvane.mdb"));
        const bool inserted =
            store.insert(QStringLiteral("Here"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p"));
        QVERIFY(QDir::setCurrent(previous));
        QVERIFY2(inserted, qPrintable(store.lastError()));
        QCOMPARE(rawSql(storePath(), {QStringLiteral("SELECT Name FROM Servers")}),
                 QList<QStringList>{{QStringLiteral("Here")}});
    }

    void pathWithUnusualCharacters()
    {
        // The characters that mean something in a file URI or in a URL, and a non-ASCII one.
        const QString folder = m_dir->filePath(QStringLiteral("a b?c#d%20e;f=g&h Ü"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/Korvane.mdb");

        FavoritesStore store(path);
        QVERIFY2(store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")),
                 qPrintable(store.lastError()));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Korvane.mdb")});
        const auto servers = store.listAll();
        QVERIFY2(servers.has_value(), qPrintable(store.lastError()));
        QCOMPARE(names(*servers), QStringList{QStringLiteral("A")});
    }

    void listedInIdOrderWhateverTheNames()
    {
        FavoritesStore store(storePath());
        for (const char *name : {"b", "a", "c"})
            QVERIFY(
                store.insert(QString::fromLatin1(name), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));

        const auto servers = store.listAll();
        QVERIFY2(servers.has_value(), qPrintable(store.lastError()));
        QCOMPARE(names(*servers), (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}));
        QVERIFY(servers->at(0).id < servers->at(1).id);
        QVERIFY(servers->at(1).id < servers->at(2).id);
    }

    void idsAreNotReusedAfterDelete()
    {
        FavoritesStore store(storePath());
        QVERIFY(store.insert(QStringLiteral("first"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY(store.insert(QStringLiteral("second"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY(store.removeByName(QStringLiteral("second")));
        QVERIFY(store.insert(QStringLiteral("third"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));

        const auto servers = store.listAll();
        QVERIFY(servers.has_value());
        QCOMPARE(names(*servers), (QStringList{QStringLiteral("first"), QStringLiteral("third")}));
        QCOMPARE(servers->at(1).id, servers->at(0).id + 2);
    }

    void fieldsStoredAndFoundExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("password");

        QTest::newRow("ordinary") << QStringLiteral("My Server") << QStringLiteral("192.168.0.10")
                                  << QStringLiteral("27960") << QStringLiteral("secret");
        QTest::newRow("single quote") << QStringLiteral("O'Brien's") << QStringLiteral("host'name")
                                      << QStringLiteral("279'60") << QStringLiteral("pa'ss");
        QTest::newRow("double quote") << QStringLiteral("The \"Best\"") << QStringLiteral("\"host\"")
                                      << QStringLiteral("\"27960\"") << QStringLiteral("p\"w");
        QTest::newRow("backslash") << QStringLiteral("C:\\servers\\") << QStringLiteral("\\\\host")
                                   << QStringLiteral("27960\\") << QStringLiteral("\\n\\0");
        QTest::newRow("semicolon") << QStringLiteral("a;b") << QStringLiteral("host;") << QStringLiteral(";27960")
                                   << QStringLiteral("p;w;");
        QTest::newRow("unicode") << QStringLiteral("Ünïcødé 服务器") << QStringLiteral("ünï.example")
                                 << QStringLiteral("２７９６０") << QStringLiteral("pässwörd€");
        QTest::newRow("statement-like text")
            << QStringLiteral("x'); DROP TABLE Servers; --") << QStringLiteral("' OR '1'='1")
            << QStringLiteral("1); DELETE FROM Servers; --") << QStringLiteral("'||'");
        QTest::newRow("name with \" - \"") << QStringLiteral("Main - EU - 2") << QStringLiteral("10.0.0.1")
                                           << QStringLiteral("27960") << QStringLiteral("pw");
        QTest::newRow("leading and trailing blanks") << QStringLiteral("  padded  ") << QStringLiteral(" 10.0.0.1 ")
                                                     << QStringLiteral(" 27960") << QStringLiteral("pw ");
        QTest::newRow("port with leading zero is kept as text")
            << QStringLiteral("zero") << QStringLiteral("h") << QStringLiteral("027960") << QStringLiteral("007");
        QTest::newRow("LIKE wildcards") << QStringLiteral("50%_off") << QStringLiteral("%") << QStringLiteral("_")
                                        << QStringLiteral("%_");
        QTest::newRow("line breaks and tab") << QStringLiteral("two\r\nlines") << QStringLiteral("a\tb")
                                             << QStringLiteral("1\n") << QStringLiteral("\r");
        QTest::newRow("empty strings") << QStringLiteral("") << QStringLiteral("") << QStringLiteral("")
                                       << QStringLiteral("");
        QTest::newRow("null strings") << QString() << QString() << QString() << QString();
    }

    void fieldsStoredAndFoundExactly()
    {
        QFETCH(QString, name);
        QFETCH(QString, ip);
        QFETCH(QString, port);
        QFETCH(QString, password);

        FavoritesStore store(storePath());
        QVERIFY2(store.insert(name, ip, port, password), qPrintable(store.lastError()));
        QCOMPARE(store.lastError(), QString());

        const auto servers = store.listAll();
        QVERIFY2(servers.has_value(), qPrintable(store.lastError()));
        QCOMPARE(servers->size(), 1);
        QCOMPARE(servers->at(0).name, name);
        QCOMPARE(servers->at(0).ip, ip);
        QCOMPARE(servers->at(0).port, port);
        QCOMPARE(servers->at(0).rconPassword, password);

        const auto found = store.findByName(name);
        QVERIFY2(found.has_value(), qPrintable(store.lastError()));
        QCOMPARE(found->id, servers->at(0).id);
        QCOMPARE(found->name, name);
        QCOMPARE(found->ip, ip);
        QCOMPARE(found->port, port);
        QCOMPARE(found->rconPassword, password);

        // Stored as text (never NULL, never a number), exactly: seen through another connection.
        const QString text = QStringLiteral("text");
        QCOMPARE(rawSql(storePath(), {QStringLiteral("SELECT typeof(Name), typeof(IP), typeof(Port), "
                                                     "typeof(RconPassword), Name, IP, Port, RconPassword "
                                                     "FROM Servers")}),
                 (QList<QStringList>{{text, text, text, text, name, ip, port, password}}));

        QVERIFY2(store.removeByName(name), qPrintable(store.lastError()));
        QVERIFY(store.listAll()->isEmpty());
    }

    void findMatchesWholeNameCaseSensitively_data()
    {
        QTest::addColumn<QString>("lookup");
        QTest::addColumn<bool>("found");
        QTest::newRow("same text") << QStringLiteral("Alpha One") << true;
        QTest::newRow("lower case") << QStringLiteral("alpha one") << false;
        QTest::newRow("upper case") << QStringLiteral("ALPHA ONE") << false;
        QTest::newRow("trailing blank") << QStringLiteral("Alpha One ") << false;
        QTest::newRow("leading blank") << QStringLiteral(" Alpha One") << false;
        QTest::newRow("prefix") << QStringLiteral("Alpha") << false;
        QTest::newRow("LIKE pattern") << QStringLiteral("Alpha%") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("differently composed accent") << QStringLiteral("A\u0301") << false;
    }

    void findMatchesWholeNameCaseSensitively()
    {
        QFETCH(QString, lookup);
        QFETCH(bool, found);

        FavoritesStore store(storePath());
        QVERIFY(
            store.insert(QStringLiteral("Alpha One"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY(store.insert(QStringLiteral("\u00C1"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));

        const auto server = store.findByName(lookup);
        QCOMPARE(server.has_value(), found);
        if (found) {
            QCOMPARE(server->name, lookup);
            QCOMPARE(store.lastError(), QString());
        } else {
            QCOMPARE(store.lastError(), QStringLiteral("No favourite server is named \"%1\".").arg(lookup));
        }
    }

    void removeMatchesWholeNameCaseSensitively()
    {
        FavoritesStore store(storePath());
        QVERIFY(store.insert(QStringLiteral("Alpha"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        for (const QString &other : {QStringLiteral("alpha"), QStringLiteral("Alpha "), QStringLiteral("Alp")}) {
            QVERIFY(store.removeByName(other));
            QCOMPARE(store.listAll()->size(), 1);
        }
        QVERIFY(store.removeByName(QStringLiteral("Alpha")));
        QVERIFY(store.listAll()->isEmpty());
    }

    void duplicateNames()
    {
        FavoritesStore store(storePath());
        QVERIFY(store.insert(QStringLiteral("Twin"), QStringLiteral("1.1.1.1"), QStringLiteral("1"),
                             QStringLiteral("first")));
        QVERIFY(store.insert(QStringLiteral("Other"), QStringLiteral("3.3.3.3"), QStringLiteral("3"),
                             QStringLiteral("other")));
        QVERIFY(store.insert(QStringLiteral("Twin"), QStringLiteral("2.2.2.2"), QStringLiteral("2"),
                             QStringLiteral("second")));

        const auto found = store.findByName(QStringLiteral("Twin"));
        QVERIFY(found.has_value());
        QCOMPARE(found->ip, QStringLiteral("1.1.1.1"));
        QCOMPARE(found->rconPassword, QStringLiteral("first"));

        QVERIFY(store.removeByName(QStringLiteral("Twin")));
        const auto servers = store.listAll();
        QVERIFY(servers.has_value());
        QCOMPARE(names(*servers), QStringList{QStringLiteral("Other")});
    }

    void nameWithDashIsOnlyFoundWhole()
    {
        // The favourites window looks a line up by the part before its first " - "; the store itself
        // only ever matches whole names.
        FavoritesStore store(storePath());
        QVERIFY(
            store.insert(QStringLiteral("Main - EU"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));

        QVERIFY(!store.findByName(QStringLiteral("Main")).has_value());
        QVERIFY(store.findByName(QStringLiteral("Main - EU")).has_value());
        QVERIFY(store.removeByName(QStringLiteral("Main")));
        QCOMPARE(names(*store.listAll()), QStringList{QStringLiteral("Main - EU")});
    }

    void readingLeavesTheFileUnchanged()
    {
        FavoritesStore store(storePath());
        QVERIFY(store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY(store.insert(QStringLiteral("B"), QStringLiteral("h"), QStringLiteral("2"), QStringLiteral("q")));
        const QByteArray before = readAll(storePath());
        QVERIFY(!before.isEmpty());

        QVERIFY(store.listAll().has_value());
        QVERIFY(store.findByName(QStringLiteral("B")).has_value());
        QVERIFY(!store.findByName(QStringLiteral("C")).has_value());
        QVERIFY(store.removeByName(QStringLiteral("C")));
        QCOMPARE(readAll(storePath()), before);
    }

    void tableMadeElsewhereIsUsed()
    {
        // A store whose table was made by another tool, with rows already in it and an extra column.
        const QList<QStringList> made =
            rawSql(storePath(), {QStringLiteral("CREATE TABLE Servers (id INTEGER PRIMARY KEY, Name TEXT, IP TEXT, "
                                                "Port TEXT, RconPassword TEXT, Comment TEXT)"),
                                 QStringLiteral("INSERT INTO Servers VALUES (7, 'Old', '9.9.9.9', '1', 'x', 'c')")});
        QCOMPARE(made, QList<QStringList>());

        FavoritesStore store(storePath());
        QVERIFY2(store.insert(QStringLiteral("New"), QStringLiteral("h"), QStringLiteral("2"), QStringLiteral("p")),
                 qPrintable(store.lastError()));
        const auto servers = store.listAll();
        QVERIFY2(servers.has_value(), qPrintable(store.lastError()));
        QCOMPARE(names(*servers), (QStringList{QStringLiteral("Old"), QStringLiteral("New")}));
        QCOMPARE(servers->at(0).id, qint64(7));
        QVERIFY(servers->at(1).id > 7);
    }

    void successClearsLastError()
    {
        FavoritesStore store(storePath());
        QVERIFY(!store.findByName(QStringLiteral("missing")).has_value());
        QVERIFY(!store.lastError().isEmpty());
        QVERIFY(store.listAll().has_value());
        QCOMPARE(store.lastError(), QString());

        FavoritesStore broken(m_dir->filePath(QStringLiteral("no/such/folder/Korvane.mdb")));
        QVERIFY(!broken.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY(!broken.lastError().isEmpty());
    }

    void brokenStoreFailsEveryOperation_data()
    {
        QTest::addColumn<QByteArray>("content"); // written to the store path, when the path is a file
        QTest::addColumn<QString>("setup");      // "file", "folder" or "missing folder"
        QTest::addColumn<QString>("expectedText");

        const QString notSqlite = QStringLiteral("the file is not an SQLite database");
        QTest::newRow("text file") << QByteArray("These are not the servers you are looking for.\n"
                                                 "Just some notes somebody saved as Korvane.mdb.\n")
                                   << QStringLiteral("file") << notSqlite;
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(static_cast<char>((i * 7919 + 13) % 256));
        QTest::newRow("binary garbage") << binary << QStringLiteral("file") << notSqlite;
        // SQLite itself would take a file this short for an empty database and write over it.
        QTest::newRow("one byte") << QByteArray("x") << QStringLiteral("file") << notSqlite;
        QTest::newRow("start of the database header only")
            << QByteArray("SQLite") << QStringLiteral("file") << notSqlite;
        QTest::newRow("database header, garbage after it")
            << (QByteArray("SQLite format 3", 16) + QByteArray(1008, '\xA5')) << QStringLiteral("file")
            << QStringLiteral("file is not a database");
        QTest::newRow("folder at the path")
            << QByteArray() << QStringLiteral("folder") << QStringLiteral("is a folder, not a file");
        QTest::newRow("path in a missing folder")
            << QByteArray() << QStringLiteral("missing folder") << QStringLiteral("cannot be created");
    }

    void brokenStoreFailsEveryOperation()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, setup);
        QFETCH(QString, expectedText);

        QString path = storePath();
        if (setup == QStringLiteral("file"))
            QVERIFY(writeFile(path, content));
        else if (setup == QStringLiteral("folder"))
            QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Korvane.mdb")));
        else
            path = m_dir->filePath(QStringLiteral("missing/Korvane.mdb"));
        const QStringList entriesBefore = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        FavoritesStore store(path);
        const QList<std::pair<const char *, std::function<bool()>>> operations = {
            {"listAll", [&] { return store.listAll().has_value(); }},
            {"findByName", [&] { return store.findByName(QStringLiteral("A")).has_value(); }},
            {"removeByName", [&] { return store.removeByName(QStringLiteral("A")); }},
            {"insert",
             [&] {
                 return store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"),
                                     QStringLiteral("p"));
             }},
        };
        for (const auto &[operation, run] : operations) {
            const bool succeeded = run();
            QVERIFY2(!succeeded, operation);
            QVERIFY2(store.lastError().contains(expectedText), qPrintable(store.lastError()));
            QVERIFY2(store.lastError().contains(QDir::toNativeSeparators(path)) || store.lastError().contains(path),
                     qPrintable(store.lastError()));
            QVERIFY2(QSqlDatabase::connectionNames().isEmpty(), operation);
        }

        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entriesBefore);
        if (setup == QStringLiteral("file"))
            QCOMPARE(readAll(path), content);
        else if (setup == QStringLiteral("folder"))
            QVERIFY(QDir(path).isEmpty());
    }

    void unreadableFileFailsEveryOperation()
    {
        if (::geteuid() == 0)
            QSKIP("Permissions do not keep root from reading a file.");
        FavoritesStore store(storePath());
        QVERIFY(store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY(QFile::setPermissions(storePath(), {}));

        QVERIFY(!store.listAll().has_value());
        QVERIFY2(store.lastError().contains(QStringLiteral("cannot be opened")), qPrintable(store.lastError()));
        QVERIFY(!store.insert(QStringLiteral("B"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY2(store.lastError().contains(QStringLiteral("cannot be opened")), qPrintable(store.lastError()));

        QVERIFY(QFile::setPermissions(storePath(), OwnerReadWrite));
        QCOMPARE(names(*store.listAll()), QStringList{QStringLiteral("A")});
    }

    void wrongTableShapeFailsEveryOperation_data()
    {
        QTest::addColumn<QString>("createTable");
        QTest::addColumn<QString>("missingColumn");
        QTest::newRow("no password column")
            << QStringLiteral("CREATE TABLE Servers (id INTEGER PRIMARY KEY, Name TEXT, IP TEXT, Port TEXT)")
            << QStringLiteral("RconPassword");
        QTest::newRow("address instead of IP")
            << QStringLiteral("CREATE TABLE Servers (id INTEGER PRIMARY KEY, Name TEXT, Address TEXT, Port TEXT, "
                              "RconPassword TEXT)")
            << QStringLiteral("IP");
        QTest::newRow("no id column") << QStringLiteral("CREATE TABLE Servers (Name TEXT, IP TEXT, Port TEXT, "
                                                        "RconPassword TEXT)")
                                      << QStringLiteral("id");
        QTest::newRow("a view named Servers")
            << QStringLiteral("CREATE VIEW Servers AS SELECT 1 AS id") << QStringLiteral("Name");
    }

    void wrongTableShapeFailsEveryOperation()
    {
        QFETCH(QString, createTable);
        QFETCH(QString, missingColumn);
        QCOMPARE(rawSql(storePath(), {createTable}), QList<QStringList>());
        const QByteArray before = readAll(storePath());

        FavoritesStore store(storePath());
        QVERIFY(!store.listAll().has_value());
        QVERIFY2(store.lastError().contains(QStringLiteral("no column ") + missingColumn),
                 qPrintable(store.lastError()));
        QVERIFY(!store.findByName(QStringLiteral("A")).has_value());
        QVERIFY2(store.lastError().contains(QStringLiteral("no column ") + missingColumn),
                 qPrintable(store.lastError()));
        QVERIFY(!store.removeByName(QStringLiteral("A")));
        QVERIFY2(store.lastError().contains(QStringLiteral("no column ") + missingColumn),
                 qPrintable(store.lastError()));
        QVERIFY(!store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
        QVERIFY2(store.lastError().contains(QStringLiteral("no column ") + missingColumn),
                 qPrintable(store.lastError()));
        QCOMPARE(readAll(storePath()), before);
    }

    void lockedStoreFailsWithMessage()
    {
        FavoritesStore store(storePath());
        QVERIFY(store.insert(QStringLiteral("A"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));

        // Another program holds a write lock on the file for longer than the driver waits.
        const QString name = QStringLiteral("tst-favoritesstore-locker");
        {
            QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            locker.setDatabaseName(storePath());
            QVERIFY(locker.open());
            QSqlQuery query(locker);
            QVERIFY(query.exec(QStringLiteral("BEGIN EXCLUSIVE")));

            QVERIFY(!store.insert(QStringLiteral("B"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")));
            QVERIFY2(store.lastError().contains(QStringLiteral("locked")), qPrintable(store.lastError()));
            QCOMPARE(QSqlDatabase::connectionNames(), QStringList{name});

            QVERIFY(query.exec(QStringLiteral("ROLLBACK")));
            query.clear();
            locker.close();
        }
        QSqlDatabase::removeDatabase(name);

        QVERIFY2(store.insert(QStringLiteral("B"), QStringLiteral("h"), QStringLiteral("1"), QStringLiteral("p")),
                 qPrintable(store.lastError()));
        QCOMPARE(names(*store.listAll()), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    }
};

QTEST_GUILESS_MAIN(TestFavoritesStore)
#include "tst_favoritesstore.moc"
