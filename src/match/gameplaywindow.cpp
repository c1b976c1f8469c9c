#include "match/gameplaywindow.h"

#include "rcon/serverlink.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/commandbuttons.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace korvane::match {

namespace {

using ui::Kind;

// Inside each frame the controls sit in a grid of two columns: a button and the field, list or
// second button beside it. The right-hand frames hold the longest captions, so their cells are wider.
constexpr int Tall = 330;
constexpr int row(int index)
{
    return 240 + index * 360;
}
constexpr int frameHeight(int rows)
{
    return row(rows) + 90;
}

constexpr int L1 = 120;
constexpr int LCell = 3000;
constexpr int L2 = L1 + LCell + 60;
constexpr int LeftFrames = 120;
constexpr int LeftWidth = L2 + LCell + 120;

constexpr int R1 = 120;
constexpr int RCell = 3300;
constexpr int R2 = R1 + RCell + 60;
constexpr int RightFrames = LeftFrames + LeftWidth + 120;
constexpr int RightWidth = R2 + RCell + 120;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 6060, 780, ":/korvane/logo.png"},
    {Kind::Heading, "lblGamePlay", nullptr, 6540, 300, 6900, 420, "Game play Commands"},

    {Kind::Frame, "Map", nullptr, LeftFrames, 1020, LeftWidth, frameHeight(5), "Map"},
    {Kind::Button, "btnMapRestart", "Map", L1, row(0), LCell, Tall, "Restart Map"},
    {Kind::Button, "btnNextmap", "Map", L2, row(0), LCell, Tall, "Next Map"},
    {Kind::Button, "btnPause", "Map", L1, row(1), LCell, Tall, "Pause Map"},
    {Kind::Button, "btnResume", "Map", L2, row(1), LCell, Tall, "Resume Map"},
    {Kind::Button, "btnMatchReset", "Map", L1, row(2), LCell, Tall, "Reset Match"},
    {Kind::Button, "btnStartMatch", "Map", L2, row(2), LCell, Tall, "Start Match"},
    {Kind::Button, "btnMap", "Map", L1, row(3), LCell, Tall, "Load Map File"},
    {Kind::Field, "edtMap", "Map", L2, row(3), LCell, Tall, "Map Name"},
    {Kind::Button, "btnTimeLimit", "Map", L1, row(4), LCell, Tall, "Set Time Limit"},
    {Kind::Field, "edtTimeLimit", "Map", L2, row(4), LCell, Tall, "Time Limit (Minutes)"},

    {Kind::Frame, "Teams", nullptr, LeftFrames, 3270, LeftWidth, frameHeight(10), "Teams"},
    {Kind::Button, "btnShuffle", "Teams", L1, row(0), LCell, Tall, "Shuffle with restart"},
    {Kind::Button, "btnShuffle2", "Teams", L2, row(0), LCell, Tall, "Shuffle without restart"},
    {Kind::Button, "btnLock", "Teams", L1, row(1), LCell, Tall, "Lock Teams"},
    {Kind::Button, "btnUnlock", "Teams", L2, row(1), LCell, Tall, "Unlock Teams"},
    {Kind::Button, "btnSwap", "Teams", L1, row(2), LCell, Tall, "Swap Teams"},
    {Kind::Button, "btnCoin", "Teams", L2, row(2), LCell, Tall, "Coin Toss"},
    {Kind::Button, "btnBTeamOn", "Teams", L1, row(3), LCell, Tall, "Turn Balanced Teams On"},
    {Kind::Button, "btnBTeamOff", "Teams", L2, row(3), LCell, Tall, "Turn Balanced Teams Off"},
    {Kind::Button, "btnAllReady", "Teams", L1, row(4), LCell, Tall, "All Ready"},
    {Kind::Button, "btnPutAllies", "Teams", L1, row(5), LCell, Tall, "Send to Allied Team"},
    {Kind::Field, "edtPutAllies", "Teams", L2, row(5), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnPutAxis", "Teams", L1, row(6), LCell, Tall, "Send to Axis Team"},
    {Kind::Field, "edtPutAxis", "Teams", L2, row(6), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnReferee", "Teams", L1, row(7), LCell, Tall, "Give Ref Status"},
    {Kind::Field, "edtReferee", "Teams", L2, row(7), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnUnReferee", "Teams", L1, row(8), LCell, Tall, "Remove Ref Status"},
    {Kind::Field, "edtUnReferee", "Teams", L2, row(8), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnRemove", "Teams", L1, row(9), LCell, Tall, "Put Player Spec"},
    {Kind::Field, "edtRemove", "Teams", L2, row(9), LCell, Tall, "Player ID #"},

    {Kind::Frame, "FunCommands", nullptr, LeftFrames, 7320, LeftWidth, frameHeight(1), "Fun Commands"},
    {Kind::Button, "btnfuncommands", "FunCommands", L1, row(0), LeftWidth - 2 * L1, Tall, "Load Fun Commands Form"},

    {Kind::Frame, "Misc", nullptr, RightFrames, 1020, RightWidth, frameHeight(7), "Misc"},
    {Kind::Button, "btnFFon", "Misc", R1, row(0), RCell, Tall, "Turn Friendly Fire On"},
    {Kind::Button, "btnFFoff", "Misc", R2, row(0), RCell, Tall, "Turn Friendly Fire Off"},
    {Kind::Button, "btnMuteS", "Misc", R1, row(1), RCell, Tall, "Mute Spectators"},
    {Kind::Button, "btnUnMuteS", "Misc", R2, row(1), RCell, Tall, "UnMute Spectators"},
    {Kind::Button, "btnSpecLock", "Misc", R1, row(2), RCell, Tall, "Spec Lock"},
    {Kind::Button, "btnSpecUnlock", "Misc", R2, row(2), RCell, Tall, "Spec Unlock"},
    {Kind::Button, "btnGametype", "Misc", R1, row(3), RCell, Tall, "Change Gametype"},
    {Kind::ComboBox, "Combo1", "Misc", R2, row(3), RCell, Tall},
    {Kind::Button, "btnMute", "Misc", R1, row(4), RCell, Tall, "Mute by Client ID #"},
    {Kind::Field, "edtMute", "Misc", R2, row(4), RCell, Tall, "Client ID #"},
    {Kind::Button, "btnUnMute", "Misc", R1, row(5), RCell, Tall, "UnMute by Client ID #"},
    {Kind::Field, "edtUnMute", "Misc", R2, row(5), RCell, Tall, "Client ID #"},
    {Kind::Button, "btnWarn", "Misc", R1, row(6), RCell, Tall, "Warn by Client ID #"},
    {Kind::Field, "edtWarn", "Misc", R2, row(6), RCell, Tall, "Client ID #"},

    {Kind::Frame, "Settings", nullptr, RightFrames, 3990, RightWidth, frameHeight(3), "Settings"},
    {Kind::Button, "btnPub", "Settings", R1, row(0), RCell, Tall, "Load Public Settings"},
    {Kind::Button, "btnComp", "Settings", R2, row(0), RCell, Tall, "Load Competition Settings"},
    {Kind::Button, "btnWarmup", "Settings", R1, row(1), RCell, Tall, "Set Warmup Period"},
    {Kind::Field, "edtWarmup", "Settings", R2, row(1), RCell, Tall, "Warmup Period (Seconds)"},
    {Kind::Button, "btnWarmupDamage", "Settings", R1, row(2), RCell, Tall, "Warmup Damage Type"},
    {Kind::ComboBox, "Combo2", "Settings", R2, row(2), RCell, Tall},

    {Kind::Frame, "Campaign", nullptr, RightFrames, 5520, RightWidth, 2490, "Campaign"},
    {Kind::Button, "btnCampaign", "Campaign", R1, row(0), RCell, Tall, "Load Campaign"},
    {Kind::ListBox, "List1", "Campaign", R2, row(0), RCell, 2130},
};
constexpr int WindowWidth = RightFrames + RightWidth + 120;
constexpr qsizetype MaxCampaigns = 1000;
constexpr int WindowHeight = 8130;

constexpr ui::Caption Captions[] = {
    {"Other"},
    {"Other.lblGamePlay"},
    {"Other.Map"},
    {"Other.btnMapRestart"},
    {"Other.btnNextmap"},
    {"Other.btnPause"},
    {"Other.btnResume"},
    {"Other.btnMatchReset"},
    {"Other.btnStartMatch"},
    {"Other.btnMap"},
    {"Other.edtMap"},
    {"Other.btnTimeLimit"},
    {"Other.edtTimeLimit"},
    {"Other.Teams"},
    {"Other.btnShuffle"},
    {"Other.btnShuffle2"},
    {"Other.btnLock"},
    {"Other.btnUnlock"},
    {"Other.btnSwap"},
    {"Other.btnCoin"},
    {"Other.btnAllReady"},
    {"Other.btnBTeamOn"},
    {"Other.btnBTeamOff"},
    {"Other.btnPutAllies"},
    {"Other.btnPutAxis"},
    {"Other.btnReferee"},
    {"Other.btnUnReferee"},
    {"Other.btnRemove"},
    {"Other.Misc"},
    {"Other.btnFFon"},
    {"Other.btnFFoff"},
    {"Other.btnGametype"},
    {"Other.btnMuteS"},
    {"Other.btnUnMuteS"},
    {"Other.btnSpecLock"},
    {"Other.btnSpecUnlock"},
    {"Other.btnMute"},
    {"Other.btnUnMute"},
    {"Other.btnWarn"},
    {"Other.Campaign"},
    {"Other.btnCampaign"},
    {"Other.Settings"},
    {"Other.btnPub"},
    {"Other.btnComp"},
    {"Other.btnWarmup"},
    {"Other.edtWarmup"},
    {"Other.btnWarmupDamage"},
    {"Other.btnfuncommands"},
    {"Other.FunCommands"},
};
static_assert(std::size(Captions) == 49);

// Buttons that send at once on the main endpoint: the literal, then the field's text as it stands.
constexpr ui::DirectCommand DirectCommands[] = {
    {"btnPause", " ref pause", nullptr},
    {"btnResume", " ref unpause", nullptr},
    {"btnStartMatch", " ref startmatch", nullptr},
    {"btnMap", " ref map ", "edtMap"},
    {"btnTimeLimit", " ref timelimit ", "edtTimeLimit"},
    {"btnLock", " ref lock", nullptr},
    {"btnUnlock", " ref unlock", nullptr},
    {"btnCoin", " ref cointoss", nullptr},
    {"btnAllReady", " ref allready", nullptr},
    {"btnBTeamOn", " ref balancedteams 1", nullptr},
    {"btnBTeamOff", " ref balancedteams 0", nullptr},
    {"btnPutAllies", " ref putallies ", "edtPutAllies"},
    {"btnPutAxis", " ref putaxis ", "edtPutAxis"},
    {"btnUnReferee", " ref unreferee ", "edtUnReferee"},
    {"btnRemove", " ref remove ", "edtRemove"},
    {"btnFFon", " ref friendlyfire 1", nullptr},
    {"btnFFoff", " ref friendlyfire 0", nullptr},
    {"btnMuteS", " ref mutespecs 1", nullptr},
    {"btnUnMuteS", " ref mutespecs 0", nullptr},
    {"btnSpecLock", " ref speclock", nullptr},
    {"btnSpecUnlock", " ref specunlock", nullptr},
    {"btnMute", " ref mute ", "edtMute"},
    {"btnUnMute", " ref unmute ", "edtUnMute"},
    {"btnWarn", " ref warn ", "edtWarn"},
    {"btnPub", " ref pub", nullptr},
    {"btnComp", " ref comp", nullptr},
    {"btnWarmup", " ref warmup ", "edtWarmup"},
};

// Buttons that change the whole match, or hand out referee rights, ask for confirmation first. The
// referee button shows the player it names.
struct ConfirmOpener {
    const char *button;
    ui::ConfirmAction action;
};
constexpr ConfirmOpener ConfirmOpeners[] = {
    {"btnMapRestart", ui::ConfirmAction::RestartMap},
    {"btnNextmap", ui::ConfirmAction::NextMap},
    {"btnMatchReset", ui::ConfirmAction::ResetMatch},
    {"btnShuffle", ui::ConfirmAction::ShuffleWithRestart},
    {"btnShuffle2", ui::ConfirmAction::ShuffleWithoutRestart},
    {"btnSwap", ui::ConfirmAction::SwapTeams},
    {"btnReferee", ui::ConfirmAction::GiveReferee},
};

// The fixed lists: their entries in order, each with the command it stands for.
constexpr ui::Choice GameTypes[] = {
    {"2 - Objective", " ref gametype 2"},
    {"3 - Stopwatch", " ref gametype 3"},
    {"4 - Campaign", " ref gametype 4"},
    {"5 - Last Man Standing", " ref gametype 5"},
};
constexpr ui::Choice WarmupDamages[] = {
    {"0 - None", " ref warmupdamage 0"},
    {"1 - Enemy", " ref warmupdamage 1"},
    {"2 - Everyone", " ref warmupdamage 2"},
};

constexpr ui::ChoiceList Choices[] = {
    {"btnGametype", "Combo1", GameTypes},
    {"btnWarmupDamage", "Combo2", WarmupDamages},
};

} // namespace

GamePlayWindow::GamePlayWindow(const ui::Context &context, QWidget *owner)
    : SecondaryWindow(context, owner)
    , m_campaigns(new rcon::Endpoint(QStringLiteral("Socket2"), this))
{
    setUp("Other", "Game play Commands", WindowWidth, WindowHeight, Layout, Captions);
    wireButtons();

    // The campaign list is asked for once per opening, on this window's own endpoint, so that its
    // answer comes here and not into the console.
    connect(m_campaigns, &rcon::Endpoint::datagramReceived, this, &GamePlayWindow::addCampaigns);
    link().open(*m_campaigns);
    link().send(*m_campaigns, u" listcampaigns");
}

GamePlayWindow::~GamePlayWindow() = default;

void GamePlayWindow::wireButtons()
{
    ui::connectDirect(controls(), link(), DirectCommands);
    ui::setUpChoices(controls(), link(), Choices);
    for (const ConfirmOpener &opener : ConfirmOpeners) {
        onClick(opener.button, [this, action = opener.action] {
            const QString parameter = ui::rowOf(ui::ConfirmActions, action).takesReferee
                                          ? QStringLiteral("Player ID Number: ") + refereeText()
                                          : QStringLiteral("Not applicable");
            Q_EMIT confirmRequested(action, parameter);
        });
    }
    onClick("btnCampaign", &GamePlayWindow::loadCampaign);
    onClick("btnfuncommands", [this] { Q_EMIT funRequested(); });
}

QString GamePlayWindow::refereeText() const
{
    return control<QLineEdit>("edtReferee")->text();
}

void GamePlayWindow::addCampaigns(const QByteArray &datagram)
{
    // Every answer adds to the list: a long list may come in several datagrams. A server has a few
    // dozen campaigns; past MaxCampaigns entries the rest is a flood, and is left out.
    auto *list = control<QListWidget>("List1");
    const qsizetype room = MaxCampaigns - list->count();
    if (room > 0)
        list->addItems(rcon::campaignEntries(rcon::fromWire(datagram)).mid(0, room));
}

void GamePlayWindow::loadCampaign()
{
    const QList<QListWidgetItem *> selected = control<QListWidget>("List1")->selectedItems();
    if (selected.isEmpty() || selected.constFirst()->text().isEmpty())
        return;
    link().send(u" ref campaign ", selected.constFirst()->text());
}

} // namespace korvane::match
