#pragma once

#include "ui/form.h"

#include <span>

namespace korvane::rcon {
class ServerLink;
}

// The buttons of the console, game play and fun windows that send a fixed command on the main
// endpoint, described as tables.
namespace korvane::ui {

// Sends at once: the literal, then the text of its field (if it has one) exactly as the field holds it.
struct DirectCommand {
    const char *button;
    const char *literal;
    const char *field = nullptr;
};

// One entry of a fixed list, and the command it stands for.
struct Choice {
    const char *entry;
    const char *literal;
};

// A button that sends the command of its list's current text. The text is compared with the entries
// exactly, in order; a text that is none of them sends nothing.
struct ChoiceList {
    const char *button;
    const char *list;
    std::span<const Choice> entries;
};

void connectDirect(const Controls &controls, rcon::ServerLink &link, std::span<const DirectCommand> commands);
// Fills each list with its entries, none of them chosen, and connects its button.
void setUpChoices(const Controls &controls, rcon::ServerLink &link, std::span<const ChoiceList> lists);

} // namespace korvane::ui
