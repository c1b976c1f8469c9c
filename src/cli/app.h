#pragma once

#include <QStringList>

namespace korvane::cli {

// One run of korvane-rcon: reads the command line (and standard input for "-"), talks to every server
// at once and returns the exit status. Needs a QCoreApplication.
int run(const QStringList &arguments);

} // namespace korvane::cli
