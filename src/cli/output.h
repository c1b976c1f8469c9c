#pragma once

#include "rcon/statusreply.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdio>

namespace korvane::cli {

// The text of one command's answer: each datagram cleaned as the console cleans it (or, raw, only its
// print header removed), decoded from Windows-1252, joined so that a line split over two datagrams
// is whole again, with LF line ends.
QString answerText(const QList<QByteArray> &datagrams, bool raw);

// The error line for a datagram that refused the password (rcon::refusesPassword), quoting it.
QString refusal(const QByteArray &datagram);

// --status as a table: the settings, then the players.
QString statusTable(const rcon::StatusReply &status);
// --status --json: one compact JSON object, without line end.
QByteArray statusJson(const rcon::StatusReply &status, const QString &server);

// Writes text to a stream in UTF-8, every line starting with the prefix and ending with a line feed.
// Nothing for empty text. Flushed at once, so that a reader of a pipe sees each answer as it comes.
void writeLines(std::FILE *stream, const QString &prefix, QStringView text);

// One error line on standard error: "korvane-rcon: NAME: what".
void writeError(const QString &server, const QString &what);

} // namespace korvane::cli
