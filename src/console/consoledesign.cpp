#include "console/consoledesign.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace korvane::console::design {

namespace {

using ui::Captioned;
using ui::Kind;

// Frame positions and sizes are the design's; the controls inside the frames are ours.
constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 7575, 975, ":/korvane/logo.png"},
    {Kind::AnswerField, "Result", nullptr, 120, 1200, 7575, 3375, Captioned},

    {Kind::Frame, "Frame1", nullptr, 7800, 0, 4335, 2295, Captioned},
    {Kind::Label, "lblIP", "Frame1", 120, 270, 1800, 255, Captioned},
    {Kind::Field, "edtIP", "Frame1", 1980, 240, 2220, 315},
    {Kind::Label, "lblPort", "Frame1", 120, 630, 1800, 255, Captioned},
    {Kind::Field, "edtPort", "Frame1", 1980, 600, 2220, 315},
    {Kind::Label, "lblRconPassword", "Frame1", 120, 990, 1860, 255, ui::captionedAs("Form1.lbllblRconPassword")},
    {Kind::PasswordField, "edtrconpassword", "Frame1", 1980, 960, 2220, 315},
    {Kind::Button, "btnConnect", "Frame1", 120, 1380, 2010, 375, Captioned},
    {Kind::Button, "btnDisconnect", "Frame1", 2190, 1380, 2010, 375, Captioned},
    {Kind::Button, "Command1", "Frame1", 120, 1830, 4080, 375, Captioned},

    {Kind::Frame, "Frame6", nullptr, 7800, 2400, 4335, 1335, Captioned},
    {Kind::Button, "btnPlayers", "Frame6", 120, 240, 2010, 330, Captioned},
    {Kind::Button, "btnPBPlayers", "Frame6", 2190, 240, 2010, 330, Captioned},
    {Kind::Button, "btnNormalPopup", "Frame6", 120, 600, 2010, 330, Captioned},
    {Kind::Button, "btnPBPopup", "Frame6", 2190, 600, 2010, 330, Captioned},
    {Kind::Button, "btnCheaters", "Frame6", 120, 960, 4080, 330, Captioned},

    {Kind::Frame, "Frame3", nullptr, 7800, 3840, 4335, 1335, Captioned},
    {Kind::Button, "btnPBSS", "Frame3", 120, 240, 2700, 330, Captioned},
    {Kind::Field, "edtPBSS", "Frame3", 2880, 240, 1320, 330, Captioned},
    {Kind::Button, "btnAList", "Frame3", 120, 600, 2700, 330, Captioned},
    {Kind::Field, "edtAList", "Frame3", 2880, 600, 1320, 330, Captioned},
    {Kind::Button, "btnIPGuard", "Frame3", 120, 960, 2700, 330, Captioned},
    {Kind::Field, "edtIPGuard", "Frame3", 2880, 960, 1320, 330, Captioned},

    {Kind::Frame, "Frame5", nullptr, 7800, 5280, 4335, 1335, Captioned},
    {Kind::Button, "btnBanList", "Frame5", 120, 240, 2010, 330, Captioned},
    {Kind::Button, "btnUnbanAll", "Frame5", 2190, 240, 2010, 330, Captioned},
    {Kind::Button, "btnUnbanID", "Frame5", 120, 600, 2700, 330, Captioned},
    {Kind::Field, "edtBanID", "Frame5", 2880, 600, 1320, 330, Captioned},
    {Kind::Button, "btnUnbanGUID", "Frame5", 120, 960, 2700, 330, Captioned},
    {Kind::Field, "edtBanGUID", "Frame5", 2880, 960, 1320, 330, Captioned},

    {Kind::Frame, "Frame7", nullptr, 120, 4560, 7575, 615, Captioned},
    {Kind::Button, "btnAdditional", "Frame7", 120, 210, 1500, 330, Captioned},
    {Kind::Field, "edtAdditional", "Frame7", 1680, 210, 3300, 330, Captioned},
    {Kind::Button, "btnOther", "Frame7", 5040, 210, 2415, 330, Captioned},

    {Kind::Frame, "Frame2", nullptr, 120, 5280, 7575, 1335, Captioned},
    {Kind::Button, "btnRestartServer", "Frame2", 120, 240, 1800, 330, Captioned},
    {Kind::Button, "btnKill", "Frame2", 1950, 240, 1800, 330, Captioned},
    {Kind::Button, "btnUnlock", "Frame2", 3780, 240, 1800, 330, Captioned},
    {Kind::Button, "btnConfig", "Frame2", 5610, 240, 1845, 330, Captioned},
    {Kind::Button, "btnExec", "Frame2", 120, 600, 2100, 330, Captioned},
    {Kind::Field, "edtExec", "Frame2", 2250, 600, 1500, 330, Captioned},
    {Kind::Button, "btnChangePass", "Frame2", 3780, 600, 2100, 330, Captioned},
    {Kind::Field, "edtChangePass", "Frame2", 5910, 600, 1545, 330, Captioned},
    {Kind::Button, "btnSay", "Frame2", 120, 960, 2100, 330, Captioned},
    {Kind::Field, "edtSay", "Frame2", 2250, 960, 5205, 330, Captioned},
    {Kind::HiddenField, "edtState", "Frame2", 0, 0, 0, 0, "0"},

    {Kind::Frame, "Frame4", nullptr, 120, 6720, 12015, 1335, Captioned},
    {Kind::Button, "btnKick", "Frame4", 120, 240, 2130, 330, Captioned},
    {Kind::Field, "edtSlot1", "Frame4", 2310, 240, 1710, 330, Captioned},
    {Kind::Button, "btnNameKick", "Frame4", 120, 600, 2130, 330, Captioned},
    {Kind::Field, "edtSlot3", "Frame4", 2310, 600, 1710, 330, Captioned},
    {Kind::Button, "btnBan", "Frame4", 120, 960, 2130, 330, Captioned},
    {Kind::Field, "edtSlot2", "Frame4", 2310, 960, 1710, 330, Captioned},
    {Kind::Button, "btnPBKickNum", "Frame4", 4080, 240, 2130, 330, Captioned},
    {Kind::Field, "edtSlot4", "Frame4", 6270, 240, 1710, 330, Captioned},
    {Kind::Button, "btnPBKick", "Frame4", 4080, 600, 2130, 330, Captioned},
    {Kind::Field, "edtSlot5", "Frame4", 6270, 600, 1710, 330, Captioned},
    {Kind::Button, "btnPBBan", "Frame4", 4080, 960, 2130, 330, Captioned},
    {Kind::Field, "edtSlot6", "Frame4", 6270, 960, 1710, 330, Captioned},
    {Kind::Button, "btnPBBanSlot", "Frame4", 8040, 240, 2130, 330, Captioned},
    {Kind::Field, "edtSlot8", "Frame4", 10230, 240, 1710, 330, Captioned},
    // The one button without a key: it reads the same in every language.
    {Kind::Button, "btnPBBanGUID", "Frame4", 8040, 600, 2130, 330, "PB Ban By GUID"},
    {Kind::Field, "edtSlot7", "Frame4", 10230, 600, 1710, 330, Captioned},
    {Kind::Button, "btnPBBanMask", "Frame4", 8040, 960, 2130, 330, Captioned},
    {Kind::Field, "edtPBBanmask", "Frame4", 10230, 960, 1710, 330, Captioned},
};

// The title stays "Korvane" in every language.
constexpr ui::WindowDesign Design{
    .name = "Form1", .title = "Korvane", .width = 12255, .height = 8175, .layout = Layout};

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
    {"btnKill", ConfirmAction::KillServer},
    {"btnRestartServer", ConfirmAction::RestartServer},
    {"btnUnbanAll", ConfirmAction::ClearBans},
};

// Kick and ban buttons: the reason dialog, with its fields enabled as the action takes them.
constexpr KickOpener KickOpeners[] = {
    {"btnKick", KickAction::KickById},         {"btnNameKick", KickAction::KickByName},
    {"btnBan", KickAction::BanByName},         {"btnPBKickNum", KickAction::PbKickBySlot},
    {"btnPBKick", KickAction::PbKickByName},   {"btnPBBan", KickAction::PbBanByName},
    {"btnPBBanSlot", KickAction::PbBanBySlot}, {"btnPBBanGUID", KickAction::PbBanByGuid},
    {"btnPBBanMask", KickAction::PbBanByIp},
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

} // namespace

const ui::WindowDesign &window()
{
    return Design;
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
