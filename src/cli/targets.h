#pragma once

#include "cli/options.h"

#include <QList>
#include <QString>

#include <optional>

namespace korvane::cli {

// One server a run talks to.
struct Target {
    QString name; // how output lines and errors name it: HOST[:PORT] as given, or the favourite's name
    QString host;
    quint16 port = 0;
    QString password; // empty for --status
};

struct HostAndPort {
    QString host;
    quint16 port = 0;
};

// The favourites store read when no --store is given: the console's, Korvane.mdb in the working folder
// for a portable build, in the user's data folder for an installed one.
QString defaultStorePath();

// "HOST", "HOST:PORT", "[IPv6]" or "[IPv6]:PORT"; a bare IPv6 address takes the default port.
// nullopt for an empty host or a port that rcon::parsePort refuses.
std::optional<HostAndPort> parseServer(QStringView text);

struct Targets {
    QList<Target> targets;
    QString error; // a usage error: one line
};

// The servers of the command line, favourites from the store, each with its password. The store is
// opened only when a favourite is asked for.
Targets resolveTargets(const Options &options);

} // namespace korvane::cli
