#pragma once

namespace korvane::ui {

// The actions that are confirmed before they are sent, named by the window that asks for one. What
// each shows and sends belongs to the confirmation dialog's owner.
enum class ConfirmAction {
    ClearBans,
    KillServer,
    RestartServer,
    RestartMap,
    NextMap,
    ResetMatch,
    ShuffleWithRestart,
    ShuffleWithoutRestart,
    SwapTeams,
    GiveReferee,
};

} // namespace korvane::ui
