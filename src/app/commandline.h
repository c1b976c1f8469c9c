#pragma once

#include <optional>

namespace korvane::app {

// Answers --help and --version (and -h, -v) on standard output, before any window and without a
// display. Returns the exit code when the command line asked for either, nullopt when the windows are
// to start. Every other argument is left to QApplication (-platform, -style, ...), which ignores what
// it does not know: a shortcut or script that passes an argument of its own still starts the program.
std::optional<int> answerWithoutWindows(int &argc, char **argv);

} // namespace korvane::app
