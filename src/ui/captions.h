#pragma once

#include "ui/form.h"

#include <QString>

#include <span>

class QWidget;

namespace korvane::settings {
class ProgramSettings;
}

namespace korvane::ui {

// One language text of a window. A key without a dot is the window's name and sets its title; any
// other key is "Window.Control" and captions that control. The few keys that do not name their
// control that way say which one they caption.
struct Caption {
    const char *key;
    const char *target = nullptr;
};

// Reads the stored language and its file once, then sets the keys' texts in the table's order. What is set depends on
// the control: a frame's title, a button's or label's caption, a field's text. A missing file or key sets the empty
// text: the design-time text is not a fallback.
void applyCaptions(QWidget *window, const Controls &controls, const settings::ProgramSettings &settings,
                   std::span<const Caption> table);

} // namespace korvane::ui
