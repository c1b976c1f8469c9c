#pragma once

#include "console/dialogactions.h"
#include "ui/commandbuttons.h"
#include "ui/form.h"

#include <span>

// The main window's design as tables: the window with its controls, and its command buttons.
namespace korvane::console::design {

const ui::WindowDesign &window();
// Buttons that send at once.
std::span<const ui::DirectCommand> directCommands();

// Buttons that open the confirmation dialog, and the kick/ban buttons that open the reason dialog.
struct ConfirmOpener {
    const char *button;
    ConfirmAction action;
};
struct KickOpener {
    const char *button;
    KickAction action;
};
std::span<const ConfirmOpener> confirmOpeners();
std::span<const KickOpener> kickOpeners();

// When a control is enabled: connecting and disconnecting switch two fixed sets.
enum class Switch { Never, WhileConnected, WhileDisconnected };
Switch switchOf(const ui::Control &control);

} // namespace korvane::console::design
