#pragma once

#include "ui/form.h"

class QWidget;

namespace korvane::settings {
class LanguageTexts;
}

namespace korvane::ui {

// Sets the language texts of a window: its title, when captioned, and every captioned control of its
// layout. What is set depends on the control: a frame's title, a button's or label's caption, a
// field's text. A missing file or key sets the empty text.
void applyCaptions(QWidget *window, const WindowDesign &design, const Controls &controls,
                   const settings::LanguageTexts &texts);

} // namespace korvane::ui
