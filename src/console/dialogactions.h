#pragma once

#include "ui/confirmaction.h"

#include <array>

// The actions that pass through the confirmation and kick/ban dialogs. The opener of a dialog names
// one of these; the dialog shows its fixed English name in lblAction2 and, on Yes or Proceed, says
// which action was decided; the main window then sends the action's command. The names are never
// translated.
namespace korvane::console {

using ui::ConfirmAction;

struct ConfirmRow {
    ConfirmAction action;
    const char *name;
    const char *literal;
    // The game play window's referee field follows the literal; the dialog shows it as the parameter.
    bool takesReferee = false;
};

inline constexpr std::array<ConfirmRow, 10> ConfirmActions = {{
    {ConfirmAction::ClearBans, "Clear bans from memory", " pb_sv_banempty"},
    {ConfirmAction::KillServer, "Kill the server", " killserver"},
    {ConfirmAction::RestartServer, "Restart server", " exec server"},
    {ConfirmAction::RestartMap, "Restart map", " ref restart"},
    {ConfirmAction::NextMap, "Load next map", " ref nextmap"},
    {ConfirmAction::ResetMatch, "Reset match", " ref matchreset"},
    {ConfirmAction::ShuffleWithRestart, "Shuffle teams with restart", " ref shuffleteamsxp"},
    {ConfirmAction::ShuffleWithoutRestart, "Shuffle teams without restart", " ref shuffleteamsxp_norestart"},
    {ConfirmAction::SwapTeams, "Swap teams", " ref swapteams"},
    {ConfirmAction::GiveReferee, "Give referee status", " ref referee ", true},
}};

enum class KickAction {
    KickById,
    KickByName,
    BanByName,
    PbKickBySlot,
    PbKickByName,
    PbBanByName,
    PbBanBySlot,
    PbBanByGuid,
    PbBanByIp,
};

// What follows the target in a kick/ban command, each part after one blank, also when it is empty.
enum class Tail {
    None,
    Reason,
    LengthAndReason,
};

struct KickRow {
    KickAction action;
    const char *name;
    const char *literal;
    const char *target; // the main window's field naming the player, GUID or address
    Tail tail;
    // Whether the dialog's reason and length fields can be typed into for this action.
    bool reasonEnabled;
    bool lengthEnabled;
};

inline constexpr std::array<KickRow, 9> KickActions = {{
    {KickAction::KickById, "Kick By ID Number", " clientkick ", "edtSlot1", Tail::None, false, false},
    {KickAction::KickByName, "Kick By Name", " kick ", "edtSlot3", Tail::None, false, false},
    {KickAction::BanByName, "Ban By Name", " ban ", "edtSlot2", Tail::None, false, false},
    {KickAction::PbKickBySlot, "PB Kick By Slot #", " pb_sv_kick ", "edtSlot4", Tail::LengthAndReason, true, true},
    {KickAction::PbKickByName, "PB Kick By Name", " pb_sv_kick ", "edtSlot5", Tail::LengthAndReason, true, true},
    {KickAction::PbBanByName, "PB Ban By Name", " pb_sv_ban ", "edtSlot6", Tail::Reason, true, false},
    {KickAction::PbBanBySlot, "PB Ban By Slot #", " pb_sv_ban ", "edtSlot8", Tail::Reason, true, false},
    {KickAction::PbBanByGuid, "PB Ban By GUID", " pb_sv_banguid ", "edtSlot7", Tail::Reason, false, false},
    {KickAction::PbBanByIp, "PB Ban By IP", " pb_sv_banmask ", "edtPBBanmask", Tail::None, false, false},
}};

// The row of an action. Each action has exactly one row, checked below when the tables are compiled.
template <typename Row, std::size_t N, typename Action>
constexpr const Row &rowOf(const std::array<Row, N> &table, Action action)
{
    for (const Row &row : table) {
        if (row.action == action)
            return row;
    }
    return table[0]; // not reached: see the checks below
}

template <typename Row, std::size_t N> constexpr bool eachActionOnce(const std::array<Row, N> &table)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(table[i].action) >= N)
            return false;
        for (std::size_t j = i + 1; j < N; ++j) {
            if (table[i].action == table[j].action)
                return false;
        }
    }
    return true;
}
static_assert(eachActionOnce(ConfirmActions));
static_assert(eachActionOnce(KickActions));

} // namespace korvane::console
