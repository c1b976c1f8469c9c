#pragma once

#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>
#include <utility>

class QSqlQuery;
class QVariant;

namespace korvane::favorites {

struct FavoriteServer {
    qint64 id = 0;
    QString name;
    QString ip;
    QString port;
    QString rconPassword;
};

// The favourite servers, in an SQLite file (table Servers). Every operation opens its own connection
// and closes it before returning; values are bound as statement parameters, never pasted into SQL, and
// stored as text exactly as given (a null QString as the empty text). Names match exactly and
// case-sensitively. A missing file and its table are created on first use, readable and writable by
// the owner only (it holds passwords), and so is an empty file made into the store; an existing store
// keeps its permissions, and a file that is not an SQLite database is refused and left as it is. A
// store locked by another program fails an operation after waiting at most a second. A failed
// operation returns false / nullopt and leaves a message naming the failure in lastError(); a
// successful one clears it.
class FavoritesStore final {
public:
    explicit FavoritesStore(QString filePath);

    // Every row, in ascending id.
    std::optional<QList<FavoriteServer>> listAll();
    // The first row of that exact name; nullopt (with lastError) when none matches or the store fails.
    std::optional<FavoriteServer> findByName(const QString &name);
    // Removes every row of that name; true also when none matched.
    bool removeByName(const QString &name);
    // The row of that id, which a listed server carries; nullopt (with lastError) when it is gone.
    std::optional<FavoriteServer> findById(qint64 id);
    // Removes the row of that id; true also when there is none.
    bool removeById(qint64 id);
    // Adds one row; the store fills its id.
    bool insert(const QString &name, const QString &ip, const QString &port, const QString &rconPassword);

    QString lastError() const { return m_lastError; }

private:
    // One statement that changes the store, on its own connection.
    bool change(const QString &sql, std::initializer_list<QVariant> values, const QString &failure);
    // The first row the statement selects; notFound as lastError() when there is none.
    std::optional<FavoriteServer> findFirst(const QString &sql, std::initializer_list<QVariant> values,
                                            const QString &failure, const QString &notFound);
    // Opens the store, runs a selecting statement and hands its result to read; nullopt (with lastError)
    // when any step fails.
    template <typename Read>
    auto select(const QString &sql, std::initializer_list<QVariant> values, const QString &failure, Read read)
        -> decltype(read(std::declval<QSqlQuery &>()));
    // Prepares the statement, binds the values (texts as text) and runs it; on failure, lastError() is
    // the failure text followed by the driver's message.
    bool run(QSqlQuery &query, const QString &sql, std::initializer_list<QVariant> values, const QString &failure);

    QString m_filePath;
    QString m_lastError;
};

} // namespace korvane::favorites
