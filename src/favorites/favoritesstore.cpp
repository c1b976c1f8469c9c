#include "favorites/favoritesstore.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>

#include <array>
#include <atomic>
#include <utility>

namespace korvane::favorites {

namespace {

const QString DriverName = QStringLiteral("QSQLITE");

const QString CreateTableSql = QStringLiteral("CREATE TABLE IF NOT EXISTS Servers ("
                                              "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                              "Name TEXT, IP TEXT, Port TEXT, RconPassword TEXT)");
const QString ListAllSql = QStringLiteral("SELECT id, Name, IP, Port, RconPassword FROM Servers ORDER BY id ASC");
const QString FindByNameSql =
    QStringLiteral("SELECT id, Name, IP, Port, RconPassword FROM Servers WHERE Name = ? ORDER BY id ASC");
const QString RemoveByNameSql = QStringLiteral("DELETE FROM Servers WHERE Name = ?");
const QString FindByIdSql = QStringLiteral("SELECT id, Name, IP, Port, RconPassword FROM Servers WHERE id = ?");
const QString RemoveByIdSql = QStringLiteral("DELETE FROM Servers WHERE id = ?");
const QString InsertSql = QStringLiteral("INSERT INTO Servers(Name, IP, Port, RconPassword) VALUES (?, ?, ?, ?)");

const std::array<QString, 5> RequiredColumns = {
    QStringLiteral("id"),   QStringLiteral("Name"),         QStringLiteral("IP"),
    QStringLiteral("Port"), QStringLiteral("RconPassword"),
};

// The first 16 bytes of every SQLite 3 database file, the terminating zero included.
constexpr char SqliteMagic[] = "SQLite format 3";

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The driver binds a null QString as SQL NULL, which '=' never matches; an empty field is stored and
// looked up as the empty text instead.
QString asText(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QString nextConnectionName()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("korvane-favorites-") + QString::number(++counter);
}

FavoriteServer readRow(const QSqlQuery &query)
{
    FavoriteServer server;
    server.id = query.value(0).toLongLong();
    server.name = query.value(1).toString();
    server.ip = query.value(2).toString();
    server.port = query.value(3).toString();
    server.rconPassword = query.value(4).toString();
    return server;
}

// One connection to the store, alive for one operation. The constructor creates the file when it is
// missing (owner read/write only), opens it and makes sure the table Servers is there with the
// columns the store uses; on failure error() names what went wrong and the connection is unusable.
// Making sure of the table is the operation's first statement, so its failure (a store another
// program holds locked) is told as the operation's: `failure`, then the driver's message.
// The destructor closes and removes the connection, so every QSqlQuery on it must be gone by then:
// declare the connection before the queries. A file this connection created and left empty (the
// operation failed before the table was written) is removed again.
class StoreConnection final {
public:
    StoreConnection(const QString &filePath, const QString &failure);
    ~StoreConnection();

    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

    bool isReady() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    const QSqlDatabase &database() const { return m_db; }

private:
    bool createFile();
    bool checkHeader();
    bool open();
    bool prepareTable(const QString &failure);

    QString m_filePath;
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_error;
    bool m_createdFile = false;
};

StoreConnection::StoreConnection(const QString &filePath, const QString &failure)
    : m_filePath(QFileInfo(filePath).absoluteFilePath())
    , m_connectionName(nextConnectionName())
{
    if (!QSqlDatabase::isDriverAvailable(DriverName)) {
        m_error = QStringLiteral("The favourites store cannot be opened: the SQLite database driver (QSQLITE) is "
                                 "not available.");
        return;
    }
    const QFileInfo info(m_filePath);
    if (info.isDir()) {
        m_error = QStringLiteral("The favourites store %1 cannot be opened: it is a folder, not a file.")
                      .arg(quoted(m_filePath));
        return;
    }
    if (info.exists()) {
        if (!checkHeader())
            return;
    } else if (!info.isSymLink() && !createFile()) {
        return;
    }
    if (open())
        prepareTable(failure);
}

StoreConnection::~StoreConnection()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    if (m_createdFile && QFileInfo(m_filePath).size() == 0)
        QFile::remove(m_filePath);
}

bool StoreConnection::createFile()
{
    // Created here rather than by the driver, so that it never exists with wider permissions.
    QFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly)) {
        m_error =
            QStringLiteral("The favourites store %1 cannot be created: %2").arg(quoted(m_filePath), file.errorString());
        return false;
    }
    m_createdFile = true;
    // The umask may have taken more away than asked for.
    file.setPermissions(OwnerOnly);
    file.close();
    return true;
}

bool StoreConnection::checkHeader()
{
    // SQLite takes a file of a few bytes for an empty database and writes over it; whatever such a file
    // holds is not ours to overwrite. An empty file is an empty store.
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error =
            QStringLiteral("The favourites store %1 cannot be opened: %2").arg(quoted(m_filePath), file.errorString());
        return false;
    }
    const QByteArray head = file.read(sizeof SqliteMagic);
    if (!head.isEmpty() && head != QByteArrayView(SqliteMagic, sizeof SqliteMagic)) {
        m_error = QStringLiteral("The favourites store %1 cannot be read: the file is not an SQLite database.")
                      .arg(quoted(m_filePath));
        return false;
    }
    // An empty file is about to receive passwords: as private as a store created here.
    if (head.isEmpty() && !file.setPermissions(OwnerOnly)) {
        m_error = QStringLiteral("The favourites store %1 cannot be made readable by its owner only: %2")
                      .arg(quoted(m_filePath), file.errorString());
        return false;
    }
    return true;
}

bool StoreConnection::open()
{
    m_db = QSqlDatabase::addDatabase(DriverName, m_connectionName);
    // As a URI with mode=rw the driver opens the file but never creates it: a store that vanished in the
    // meantime is reported, not silently replaced by an empty one with default permissions.
    QUrl url = QUrl::fromLocalFile(m_filePath);
    url.setQuery(QStringLiteral("mode=rw"));
    m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    // A store another program holds locked fails within a second instead of freezing the window for
    // the driver's default of five.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000"));
    if (m_db.open())
        return true;
    m_error =
        QStringLiteral("The favourites store %1 cannot be opened: %2").arg(quoted(m_filePath), m_db.lastError().text());
    return false;
}

bool StoreConnection::prepareTable(const QString &failure)
{
    {
        QSqlQuery query(m_db);
        if (!query.exec(CreateTableSql)) {
            m_error = failure + QStringLiteral(": ") + query.lastError().text();
            return false;
        }
    }
    const QSqlRecord columns = m_db.record(QStringLiteral("Servers"));
    for (const QString &column : RequiredColumns) {
        if (!columns.contains(column)) {
            m_error = QStringLiteral("The favourites store %1 cannot be used: its table Servers has no column %2.")
                          .arg(quoted(m_filePath), column);
            return false;
        }
    }
    return true;
}

} // namespace

FavoritesStore::FavoritesStore(QString filePath)
    : m_filePath(std::move(filePath))
{
}

std::optional<QList<FavoriteServer>> FavoritesStore::listAll()
{
    const QString failure = QStringLiteral("The favourite servers cannot be listed");
    return select(ListAllSql, {}, failure, [&](QSqlQuery &query) -> std::optional<QList<FavoriteServer>> {
        QList<FavoriteServer> servers;
        while (query.next())
            servers.append(readRow(query));
        if (query.lastError().isValid()) {
            m_lastError = failure + QStringLiteral(": ") + query.lastError().text();
            return std::nullopt;
        }
        return servers;
    });
}

std::optional<FavoriteServer> FavoritesStore::findByName(const QString &name)
{
    return findFirst(FindByNameSql, {name},
                     QStringLiteral("The favourite server %1 cannot be looked up").arg(quoted(name)),
                     QStringLiteral("No favourite server is named %1.").arg(quoted(name)));
}

std::optional<FavoriteServer> FavoritesStore::findById(qint64 id)
{
    const QString number = QString::number(id);
    return findFirst(FindByIdSql, {id},
                     QStringLiteral("The favourite server with id %1 cannot be looked up").arg(number),
                     QStringLiteral("No favourite server has the id %1.").arg(number));
}

std::optional<FavoriteServer> FavoritesStore::findFirst(const QString &sql, std::initializer_list<QVariant> values,
                                                        const QString &failure, const QString &notFound)
{
    return select(sql, values, failure, [&](QSqlQuery &query) -> std::optional<FavoriteServer> {
        if (!query.next()) {
            m_lastError =
                query.lastError().isValid() ? failure + QStringLiteral(": ") + query.lastError().text() : notFound;
            return std::nullopt;
        }
        return readRow(query);
    });
}

template <typename Read>
auto FavoritesStore::select(const QString &sql, std::initializer_list<QVariant> values, const QString &failure,
                            Read read) -> decltype(read(std::declval<QSqlQuery &>()))
{
    StoreConnection connection(m_filePath, failure);
    if (!connection.isReady()) {
        m_lastError = connection.error();
        return std::nullopt;
    }
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!run(query, sql, values, failure))
        return std::nullopt;
    auto result = read(query);
    if (result)
        m_lastError.clear();
    return result;
}

bool FavoritesStore::removeByName(const QString &name)
{
    return change(RemoveByNameSql, {name},
                  QStringLiteral("The favourite server %1 cannot be deleted").arg(quoted(name)));
}

bool FavoritesStore::removeById(qint64 id)
{
    return change(RemoveByIdSql, {id},
                  QStringLiteral("The favourite server with id %1 cannot be deleted").arg(QString::number(id)));
}

bool FavoritesStore::insert(const QString &name, const QString &ip, const QString &port, const QString &rconPassword)
{
    return change(InsertSql, {name, ip, port, rconPassword},
                  QStringLiteral("The favourite server %1 cannot be added").arg(quoted(name)));
}

bool FavoritesStore::change(const QString &sql, std::initializer_list<QVariant> values, const QString &failure)
{
    StoreConnection connection(m_filePath, failure);
    if (!connection.isReady()) {
        m_lastError = connection.error();
        return false;
    }
    QSqlQuery query(connection.database());
    if (!run(query, sql, values, failure))
        return false;
    m_lastError.clear();
    return true;
}

bool FavoritesStore::run(QSqlQuery &query, const QString &sql, std::initializer_list<QVariant> values,
                         const QString &failure)
{
    if (query.prepare(sql)) {
        for (const QVariant &value : values)
            query.addBindValue(value.typeId() == QMetaType::QString ? QVariant(asText(value.toString())) : value);
        if (query.exec())
            return true;
    }
    m_lastError = failure + QStringLiteral(": ") + query.lastError().text();
    return false;
}

} // namespace korvane::favorites
