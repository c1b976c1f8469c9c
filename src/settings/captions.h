#pragma once

#include <QString>

#include <span>

class QWidget;

namespace korvane {

class ProgramFolder;

// A window's language texts: which key of the language file captions which control. The target is
// a control's objectName, or nullptr for the window's title. What is set depends on the control: a
// frame's title, a button's or label's caption, a field's text.
namespace captions {

struct Entry {
    const char *key;
    const char *target;
};

// Reads the stored language once, then each key afresh from its file, in the table's order. A missing
// file or key sets the empty text: the design-time text is not a fallback.
void apply(QWidget *window, const ProgramFolder &folder, std::span<const Entry> table);

void setCaption(QWidget *target, const QString &text);

} // namespace captions
} // namespace korvane
