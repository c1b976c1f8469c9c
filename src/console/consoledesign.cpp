#include "console/consoledesign.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace korvane::console::design {

namespace {

using ui::Kind;

// Frame positions and sizes are the design's; the controls inside the frames are ours.
constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 7575, 975, ":/korvane/logo.png"},
    {Kind::AnswerField, "Result", nullptr, 120, 1200, 7575, 3375,
     "Korvane Client: Korvane loaded.\r\nKorvane Client: Enter/select server details and Connect to login.\r\n \r\n"},

    {Kind::Frame, "Frame1", nullptr, 7800, 0, 4335, 2295, "Server Properties"},
    {Kind::Label, "lblIP", "Frame1", 120, 270, 1800, 255, "Server IP Address:"},
    {Kind::Field, "edtIP", "Frame1", 1980, 240, 2220, 315},
    {Kind::Label, "lblPort", "Frame1", 120, 630, 1800, 255, "Server Port:"},
    {Kind::Field, "edtPort", "Frame1", 1980, 600, 2220, 315},
    {Kind::Label, "lblRconPassword", "Frame1", 120, 990, 1860, 255, "Server Rcon Password:"},
    {Kind::PasswordField, "edtrconpassword", "Frame1", 1980, 960, 2220, 315},
    {Kind::Button, "btnConnect", "Frame1", 120, 1380, 2010, 375, "Connect To Server"},
    {Kind::Button, "btnDisconnect", "Frame1", 2190, 1380, 2010, 375, "Disconnect From Server"},
    {Kind::Button, "Command1", "Frame1", 120, 1830, 4080, 375, "Favorites List"},

    {Kind::Frame, "Frame6", nullptr, 7800, 2400, 4335, 1335, "Player Lists"},
    {Kind::Button, "btnPlayers", "Frame6", 120, 240, 2010, 330, "Get Normal Players List"},
    {Kind::Button, "btnPBPlayers", "Frame6", 2190, 240, 2010, 330, "Get PB Players List"},
    {Kind::Button, "btnNormalPopup", "Frame6", 120, 600, 2010, 330, "Normal Players Popup"},
    {Kind::Button, "btnPBPopup", "Frame6", 2190, 600, 2010, 330, "PB Players Popup List"},
    {Kind::Button, "btnCheaters", "Frame6", 120, 960, 4080, 330, "ETPro \"/cheaters\" list with ETPro GUIDs"},

    {Kind::Frame, "Frame3", nullptr, 7800, 3840, 4335, 1335, "Common PunkBuster Commands"},
    {Kind::Button, "btnPBSS", "Frame3", 120, 240, 2700, 330, "PB ScreenShot of Slot #"},
    {Kind::Field, "edtPBSS", "Frame3", 2880, 240, 1320, 330, "Client PB Slot #"},
    {Kind::Button, "btnAList", "Frame3", 120, 600, 2700, 330, "Get Player Alias List"},
    {Kind::Field, "edtAList", "Frame3", 2880, 600, 1320, 330, "Client PB Slot #"},
    {Kind::Button, "btnIPGuard", "Frame3", 120, 960, 2700, 330, "Add Suspicious IP To IP Guard List"},
    {Kind::Field, "edtIPGuard", "Frame3", 2880, 960, 1320, 330, "Client PB Slot #"},

    {Kind::Frame, "Frame5", nullptr, 7800, 5280, 4335, 1335, "Managing Bans"},
    {Kind::Button, "btnBanList", "Frame5", 120, 240, 2010, 330, "Retrieve PB Ban List"},
    {Kind::Button, "btnUnbanAll", "Frame5", 2190, 240, 2010, 330, "Clear Bans From Memory"},
    {Kind::Button, "btnUnbanID", "Frame5", 120, 600, 2700, 330, "Unban By BanID #"},
    {Kind::Field, "edtBanID", "Frame5", 2880, 600, 1320, 330, "Ban ID #"},
    {Kind::Button, "btnUnbanGUID", "Frame5", 120, 960, 2700, 330, "Unban By GUID"},
    {Kind::Field, "edtBanGUID", "Frame5", 2880, 960, 1320, 330, "Client GUID"},

    {Kind::Frame, "Frame7", nullptr, 120, 4560, 7575, 615, "Send Custom/Additional/Game Play Commands"},
    {Kind::Button, "btnAdditional", "Frame7", 120, 210, 1500, 330, "Send Command"},
    {Kind::Field, "edtAdditional", "Frame7", 1680, 210, 3300, 330, "Type command here."},
    {Kind::Button, "btnOther", "Frame7", 5040, 210, 2415, 330, "Show Game Play Commands"},

    {Kind::Frame, "Frame2", nullptr, 120, 5280, 7575, 1335, "Basic Commands"},
    {Kind::Button, "btnRestartServer", "Frame2", 120, 240, 1800, 330, "Restart Server"},
    {Kind::Button, "btnKill", "Frame2", 1950, 240, 1800, 330, "Kill The Server"},
    {Kind::Button, "btnUnlock", "Frame2", 3780, 240, 1800, 330, "UnLock The Server"},
    {Kind::Button, "btnConfig", "Frame2", 5610, 240, 1845, 330, "Load \".Config\" File"},
    {Kind::Button, "btnExec", "Frame2", 120, 600, 2100, 330, "Load Specified \".cfg\" File"},
    {Kind::Field, "edtExec", "Frame2", 2250, 600, 1500, 330, ".cfg File Name"},
    {Kind::Button, "btnChangePass", "Frame2", 3780, 600, 2100, 330, "Password Lock The Server"},
    {Kind::Field, "edtChangePass", "Frame2", 5910, 600, 1545, 330, "Password"},
    {Kind::Button, "btnSay", "Frame2", 120, 960, 2100, 330, "Broadcast Message"},
    {Kind::Field, "edtSay", "Frame2", 2250, 960, 5205, 330, "Type the message you want to be shown in global chat."},
    {Kind::HiddenField, "edtState", "Frame2", 0, 0, 0, 0, "0"},

    {Kind::Frame, "Frame4", nullptr, 120, 6720, 12015, 1335, "Kicking/Banning"},
    {Kind::Button, "btnKick", "Frame4", 120, 240, 2130, 330, "Kick By ID Number"},
    {Kind::Field, "edtSlot1", "Frame4", 2310, 240, 1710, 330, "Client ID #"},
    {Kind::Button, "btnNameKick", "Frame4", 120, 600, 2130, 330, "Kick By Name"},
    {Kind::Field, "edtSlot3", "Frame4", 2310, 600, 1710, 330, "Client Name"},
    {Kind::Button, "btnBan", "Frame4", 120, 960, 2130, 330, "Ban By Name"},
    {Kind::Field, "edtSlot2", "Frame4", 2310, 960, 1710, 330, "Client Name"},
    {Kind::Button, "btnPBKickNum", "Frame4", 4080, 240, 2130, 330, "PB Kick By Slot #"},
    {Kind::Field, "edtSlot4", "Frame4", 6270, 240, 1710, 330, "Client PB Slot #"},
    {Kind::Button, "btnPBKick", "Frame4", 4080, 600, 2130, 330, "PB Kick By Name"},
    {Kind::Field, "edtSlot5", "Frame4", 6270, 600, 1710, 330, "Client Name"},
    {Kind::Button, "btnPBBan", "Frame4", 4080, 960, 2130, 330, "PB Ban By Name"},
    {Kind::Field, "edtSlot6", "Frame4", 6270, 960, 1710, 330, "Client Name"},
    {Kind::Button, "btnPBBanSlot", "Frame4", 8040, 240, 2130, 330, "PB Ban By Slot #"},
    {Kind::Field, "edtSlot8", "Frame4", 10230, 240, 1710, 330, "Client PB Slot #"},
    {Kind::Button, "btnPBBanGUID", "Frame4", 8040, 600, 2130, 330, "PB Ban By GUID"},
    {Kind::Field, "edtSlot7", "Frame4", 10230, 600, 1710, 330, "Client GUID"},
    {Kind::Button, "btnPBBanMask", "Frame4", 8040, 960, 2130, 330, "PB Ban By IP"},
    {Kind::Field, "edtPBBanmask", "Frame4", 10230, 960, 1710, 330, "Client IP Address"},
};

// The language texts of the main window, in the order they are applied at start-up. One key does
// not name its control.
constexpr ui::Caption Captions[] = {
    {"Form1.Frame1"},           {"Form1.Result"},
    {"Form1.Command1"},         {"Form1.lblIP"},
    {"Form1.lblPort"},          {"Form1.lbllblRconPassword", "lblRconPassword"},
    {"Form1.btnConnect"},       {"Form1.btnDisconnect"},
    {"Form1.Frame6"},           {"Form1.btnPlayers"},
    {"Form1.btnPBPlayers"},     {"Form1.btnNormalPopup"},
    {"Form1.btnPBPopup"},       {"Form1.btnCheaters"},
    {"Form1.Frame3"},           {"Form1.btnPBSS"},
    {"Form1.edtPBSS"},          {"Form1.btnAList"},
    {"Form1.edtAList"},         {"Form1.btnIPGuard"},
    {"Form1.edtIPGuard"},       {"Form1.Frame7"},
    {"Form1.btnAdditional"},    {"Form1.edtAdditional"},
    {"Form1.btnOther"},         {"Form1.Frame2"},
    {"Form1.btnExec"},          {"Form1.edtExec"},
    {"Form1.btnChangePass"},    {"Form1.edtChangePass"},
    {"Form1.btnRestartServer"}, {"Form1.btnKill"},
    {"Form1.btnUnlock"},        {"Form1.btnConfig"},
    {"Form1.btnSay"},           {"Form1.edtSay"},
    {"Form1.Frame5"},           {"Form1.btnBanList"},
    {"Form1.btnUnbanAll"},      {"Form1.btnUnbanID"},
    {"Form1.edtBanID"},         {"Form1.btnUnbanGUID"},
    {"Form1.edtBanGUID"},       {"Form1.Frame4"},
    {"Form1.btnKick"},          {"Form1.edtSlot1"},
    {"Form1.btnNameKick"},      {"Form1.edtSlot3"},
    {"Form1.btnBan"},           {"Form1.edtSlot2"},
    {"Form1.btnPBKickNum"},     {"Form1.edtSlot4"},
    {"Form1.btnPBKick"},        {"Form1.edtSlot5"},
    {"Form1.btnPBBan"},         {"Form1.edtSlot6"},
    {"Form1.btnPBBanSlot"},     {"Form1.edtSlot8"},
    {"Form1.edtSlot7"},         {"Form1.btnPBBanMask"},
    {"Form1.edtPBBanmask"},
};
static_assert(std::size(Captions) == 61);

// Buttons that send at once: the literal, then the field's text as it stands.
constexpr ui::DirectCommand DirectCommands[] = {
    {"btnPlayers", " status", nullptr},
    {"btnPBPlayers", " pb_sv_plist", nullptr},
    {"btnPBSS", " pb_sv_getss ", "edtPBSS"},
    {"btnAList", " PB_SV_AList ", "edtAList"},
    {"btnIPGuard", " PB_SV_IPGuard ", "edtIPGuard"},
    {"btnBanList", " pb_sv_banlist", nullptr},
    {"btnUnbanID", " pb_sv_unban ", "edtBanID"},
    {"btnUnbanGUID", " pb_sv_unbanguid ", "edtBanGUID"},
    {"btnAdditional", " ", "edtAdditional"},
    {"btnUnlock", " g_password \"", nullptr},
    {"btnExec", " exec ", "edtExec"},
    {"btnSay", " say ", "edtSay"},
    {"btnChangePass", " g_password ", "edtChangePass"},
};

// Buttons that ask for confirmation first.
constexpr ConfirmOpener ConfirmOpeners[] = {
    {"btnKill", ui::ConfirmAction::KillServer},
    {"btnRestartServer", ui::ConfirmAction::RestartServer},
    {"btnUnbanAll", ui::ConfirmAction::ClearBans},
};

// Kick and ban buttons: the reason dialog, with its fields enabled as the action takes them.
constexpr KickOpener KickOpeners[] = {
    {"btnKick", ui::KickAction::KickById},         {"btnNameKick", ui::KickAction::KickByName},
    {"btnBan", ui::KickAction::BanByName},         {"btnPBKickNum", ui::KickAction::PbKickBySlot},
    {"btnPBKick", ui::KickAction::PbKickByName},   {"btnPBBan", ui::KickAction::PbBanByName},
    {"btnPBBanSlot", ui::KickAction::PbBanBySlot}, {"btnPBBanGUID", ui::KickAction::PbBanByGuid},
    {"btnPBBanMask", ui::KickAction::PbBanByIp},
};

// The server fields and Connect are for choosing a server: enabled only while disconnected. The
// favourites list is always at hand. Every other button and field commands the server, and is enabled
// only while connected.
constexpr std::string_view DisconnectedSet[] = {"btnConnect", "edtIP", "edtPort", "edtrconpassword"};
constexpr std::string_view AlwaysEnabled = "Command1";

constexpr Switch switchFor(const ui::Control &control)
{
    if (std::ranges::find(DisconnectedSet, control.name) != std::end(DisconnectedSet))
        return Switch::WhileDisconnected;
    if (control.name == AlwaysEnabled)
        return Switch::Never;
    switch (control.kind) {
    case Kind::Button:
    case Kind::BoldButton:
    case Kind::Field:
    case Kind::PasswordField:
        return Switch::WhileConnected;
    default:
        return Switch::Never;
    }
}

constexpr auto ConnectedCount =
    std::ranges::count_if(Layout, [](const ui::Control &c) { return switchFor(c) == Switch::WhileConnected; });
// Disconnect, the 19 command fields and the 29 command buttons.
static_assert(ConnectedCount == 49);

} // namespace

std::span<const ui::Control> layout()
{
    return Layout;
}

std::span<const ui::Caption> captions()
{
    return Captions;
}

std::span<const ui::DirectCommand> directCommands()
{
    return DirectCommands;
}

std::span<const ConfirmOpener> confirmOpeners()
{
    return ConfirmOpeners;
}

std::span<const KickOpener> kickOpeners()
{
    return KickOpeners;
}

Switch switchOf(const ui::Control &control)
{
    return switchFor(control);
}

} // namespace korvane::console::design
