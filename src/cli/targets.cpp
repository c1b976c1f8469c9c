#include "cli/targets.h"

#include "favorites/favoritesstore.h"
#include "rcon/serverport.h"
#include "settings/filelocations.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace korvane::cli {

namespace {

using favorites::FavoriteServer;
using favorites::FavoritesStore;

// The password given on the command line, by file or by value; an error text when the file cannot be
// read.
std::optional<QString> commandLinePassword(const Options &options, QString &error)
{
    if (options.passwordGiven)
        return options.password;
    if (options.passwordFile.isEmpty())
        return std::nullopt;
    QFile file(options.passwordFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("cannot read the password file \"%1\": %2").arg(options.passwordFile, file.errorString());
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

bool addFavorites(const Options &options, QList<FavoriteServer> &chosen, QString &error)
{
    const QString path = options.storeFile.isEmpty() ? defaultStorePath() : options.storeFile;
    // The store would create a missing file; a command-line run only reads.
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("the favourites store \"%1\" does not exist").arg(path);
        return false;
    }
    FavoritesStore store(path);
    if (options.allFavorites) {
        const std::optional<QList<FavoriteServer>> all = store.listAll();
        if (!all) {
            error = store.lastError();
            return false;
        }
        if (all->isEmpty()) {
            error = QStringLiteral("the favourites store \"%1\" holds no server").arg(path);
            return false;
        }
        chosen += *all;
    }
    for (const QString &name : options.favorites) {
        const bool listed = std::any_of(chosen.cbegin(), chosen.cend(),
                                        [&](const FavoriteServer &known) { return known.name == name; });
        if (listed)
            continue;
        const std::optional<FavoriteServer> favorite = store.findByName(name);
        if (!favorite) {
            error = store.lastError();
            return false;
        }
        chosen.append(*favorite);
    }
    return true;
}

} // namespace

QString defaultStorePath()
{
    return settings::FileLocations::forExecutableFolder(QCoreApplication::applicationDirPath()).favoritesStoreFile();
}

std::optional<HostAndPort> parseServer(QStringView text)
{
    HostAndPort server{text.toString(), DefaultPort};
    QStringView portText;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        server.host = text.sliced(1, close - 1).toString();
        const QStringView rest = text.sliced(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':'))
            return std::nullopt;
        portText = rest.isEmpty() ? QStringView() : rest.sliced(1);
        if (rest == u":")
            return std::nullopt;
    } else if (text.count(u':') == 1) {
        const qsizetype colon = text.indexOf(u':');
        server.host = text.left(colon).toString();
        portText = text.sliced(colon + 1);
        if (portText.isEmpty())
            return std::nullopt;
    }
    if (server.host.isEmpty())
        return std::nullopt;
    if (!portText.isEmpty()) {
        const std::optional<quint16> port = rcon::parsePort(portText);
        if (!port)
            return std::nullopt;
        server.port = *port;
    }
    return server;
}

Targets resolveTargets(const Options &options)
{
    Targets result;
    const std::optional<QString> given = commandLinePassword(options, result.error);
    if (!result.error.isEmpty())
        return result;
    const QString fromEnvironment = qEnvironmentVariable(PasswordVariable);
    const bool needsPassword = options.mode != Options::Mode::Status;

    const auto add = [&](const QString &name, const QString &host, quint16 port, const QString &stored) {
        Target target{name, host, port, given.value_or(stored.isEmpty() ? fromEnvironment : stored)};
        if (!needsPassword)
            target.password.clear();
        else if (target.password.isEmpty())
            result.error = QStringLiteral("%1: no rcon password (--password-file, a favourite's password or %2)")
                               .arg(name, QLatin1StringView(PasswordVariable));
        result.targets.append(target);
    };

    for (const QString &text : options.servers) {
        const std::optional<HostAndPort> server = parseServer(text);
        if (!server) {
            result.error = QStringLiteral("\"%1\" is not HOST[:PORT] with a port from 1 to 65535").arg(text);
            return result;
        }
        add(text, server->host, server->port, QString());
    }
    if (options.allFavorites || !options.favorites.isEmpty()) {
        QList<FavoriteServer> chosen;
        if (!addFavorites(options, chosen, result.error))
            return result;
        for (const FavoriteServer &favorite : std::as_const(chosen)) {
            const std::optional<quint16> port = rcon::parsePort(favorite.port);
            if (favorite.ip.isEmpty() || !port) {
                result.error = QStringLiteral("%1: the favourite's address \"%2:%3\" is not HOST:PORT")
                                   .arg(favorite.name, favorite.ip, favorite.port);
                return result;
            }
            add(favorite.name, favorite.ip, *port, favorite.rconPassword);
        }
    }
    return result;
}

} // namespace korvane::cli
