#pragma once

namespace korvane::console {
class MainWindow;
}

namespace korvane::app {

// Starts a run: the language chooser, or, when the choice is remembered, the main window at once.
// The chooser hands over to the main window when a language is loaded; closed before that, it ends
// the program, since no window would be left. Call before the event loop runs.
void start(console::MainWindow &main);

} // namespace korvane::app
