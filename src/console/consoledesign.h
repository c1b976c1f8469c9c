#pragma once

#include "ui/captions.h"
#include "ui/commandbuttons.h"
#include "ui/dialogactions.h"
#include "ui/form.h"

#include <span>

// The main window's design as tables: its controls, language texts and command buttons.
namespace korvane::console::design {

std::span<const ui::Control> layout();
std::span<const ui::Caption> captions();
// Buttons that send at once.
std::span<const ui::DirectCommand> directCommands();

// Buttons that open the confirmation dialog, and the kick/ban buttons that open the reason dialog.
struct ConfirmOpener {
    const char *button;
    ui::ConfirmAction action;
};
struct KickOpener {
    const char *button;
    ui::KickAction action;
};
std::span<const ConfirmOpener> confirmOpeners();
std::span<const KickOpener> kickOpeners();

// When a control is enabled: connecting and disconnecting switch two fixed sets.
enum class Switch { Never, WhileConnected, WhileDisconnected };
Switch switchOf(const ui::Control &control);

} // namespace korvane::console::design
