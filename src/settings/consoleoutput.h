#pragma once

#include <QByteArray>

#include <cstdio>

namespace korvane::settings {

// Writes UTF-8 bytes to standard output or error as they are, flushed at once. On Windows a console
// shows the text they encode, whatever its code page, and a pipe or a file gets the bytes themselves
// with LF line ends (not the CR LF of the C library's text mode).
void writeUtf8(std::FILE *stream, const QByteArray &bytes);

// A window program started from a console prints there. Windows gives a program built as a window
// program no console, so its output would go nowhere: it joins its parent's console, unless its
// output already goes to a pipe or a file. Elsewhere nothing is needed.
void useParentConsole();

} // namespace korvane::settings
