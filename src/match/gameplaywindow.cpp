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

using ui::Captioned;
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
    {Kind::Heading, "lblGamePlay", nullptr, 6540, 300, 6900, 420, Captioned},

    {Kind::Frame, "Map", nullptr, LeftFrames, 1020, LeftWidth, frameHeight(5), Captioned},
    {Kind::Button, "btnMapRestart", "Map", L1, row(0), LCell, Tall, Captioned},
    {Kind::Button, "btnNextmap", "Map", L2, row(0), LCell, Tall, Captioned},
    {Kind::Button, "btnPause", "Map", L1, row(1), LCell, Tall, Captioned},
    {Kind::Button, "btnResume", "Map", L2, row(1), LCell, Tall, Captioned},
    {Kind::Button, "btnMatchReset", "Map", L1, row(2), LCell, Tall, Captioned},
    {Kind::Button, "btnStartMatch", "Map", L2, row(2), LCell, Tall, Captioned},
    {Kind::Button, "btnMap", "Map", L1, row(3), LCell, Tall, Captioned},
    {Kind::Field, "edtMap", "Map", L2, row(3), LCell, Tall, Captioned},
    {Kind::Button, "btnTimeLimit", "Map", L1, row(4), LCell, Tall, Captioned},
    {Kind::Field, "edtTimeLimit", "Map", L2, row(4), LCell, Tall, Captioned},

    {Kind::Frame, "Teams", nullptr, LeftFrames, 3270, LeftWidth, frameHeight(10), Captioned},
    {Kind::Button, "btnShuffle", "Teams", L1, row(0), LCell, Tall, Captioned},
    {Kind::Button, "btnShuffle2", "Teams", L2, row(0), LCell, Tall, Captioned},
    {Kind::Button, "btnLock", "Teams", L1, row(1), LCell, Tall, Captioned},
    {Kind::Button, "btnUnlock", "Teams", L2, row(1), LCell, Tall, Captioned},
    {Kind::Button, "btnSwap", "Teams", L1, row(2), LCell, Tall, Captioned},
    {Kind::Button, "btnCoin", "Teams", L2, row(2), LCell, Tall, Captioned},
    {Kind::Button, "btnBTeamOn", "Teams", L1, row(3), LCell, Tall, Captioned},
    {Kind::Button, "btnBTeamOff", "Teams", L2, row(3), LCell, Tall, Captioned},
    {Kind::Button, "btnAllReady", "Teams", L1, row(4), LCell, Tall, Captioned},
    {Kind::Button, "btnPutAllies", "Teams", L1, row(5), LCell, Tall, Captioned},
    {Kind::Field, "edtPutAllies", "Teams", L2, row(5), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnPutAxis", "Teams", L1, row(6), LCell, Tall, Captioned},
    {Kind::Field, "edtPutAxis", "Teams", L2, row(6), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnReferee", "Teams", L1, row(7), LCell, Tall, Captioned},
    {Kind::Field, "edtReferee", "Teams", L2, row(7), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnUnReferee", "Teams", L1, row(8), LCell, Tall, Captioned},
    {Kind::Field, "edtUnReferee", "Teams", L2, row(8), LCell, Tall, "Player ID #"},
    {Kind::Button, "btnRemove", "Teams", L1, row(9), LCell, Tall, Captioned},
    {Kind::Field, "edtRemove", "Teams", L2, row(9), LCell, Tall, "Player ID #"},

    {Kind::Frame, "FunCommands", nullptr, LeftFrames, 7320, LeftWidth, frameHeight(1), Captioned},
    {Kind::Button, "btnfuncommands", "FunCommands", L1, row(0), LeftWidth - 2 * L1, Tall, Captioned},

    {Kind::Frame, "Misc", nullptr, RightFrames, 1020, RightWidth, frameHeight(7), Captioned},
    {Kind::Button, "btnFFon", "Misc", R1, row(0), RCell, Tall, Captioned},
    {Kind::Button, "btnFFoff", "Misc", R2, row(0), RCell, Tall, Captioned},
    {Kind::Button, "btnMuteS", "Misc", R1, row(1), RCell, Tall, Captioned},
    {Kind::Button, "btnUnMuteS", "Misc", R2, row(1), RCell, Tall, Captioned},
    {Kind::Button, "btnSpecLock", "Misc", R1, row(2), RCell, Tall, Captioned},
    {Kind::Button, "btnSpecUnlock", "Misc", R2, row(2), RCell, Tall, Captioned},
    {Kind::Button, "btnGametype", "Misc", R1, row(3), RCell, Tall, Captioned},
    {Kind::ComboBox, "Combo1", "Misc", R2, row(3), RCell, Tall},
    {Kind::Button, "btnMute", "Misc", R1, row(4), RCell, Tall, Captioned},
    {Kind::Field, "edtMute", "Misc", R2, row(4), RCell, Tall, "Client ID #"},
    {Kind::Button, "btnUnMute", "Misc", R1, row(5), RCell, Tall, Captioned},
    {Kind::Field, "edtUnMute", "Misc", R2, row(5), RCell, Tall, "Client ID #"},
    {Kind::Button, "btnWarn", "Misc", R1, row(6), RCell, Tall, Captioned},
    {Kind::Field, "edtWarn", "Misc", R2, row(6), RCell, Tall, "Client ID #"},

    {Kind::Frame, "Settings", nullptr, RightFrames, 3990, RightWidth, frameHeight(3), Captioned},
    {Kind::Button, "btnPub", "Settings", R1, row(0), RCell, Tall, Captioned},
    {Kind::Button, "btnComp", "Settings", R2, row(0), RCell, Tall, Captioned},
    {Kind::Button, "btnWarmup", "Settings", R1, row(1), RCell, Tall, Captioned},
    {Kind::Field, "edtWarmup", "Settings", R2, row(1), RCell, Tall, Captioned},
    {Kind::Button, "btnWarmupDamage", "Settings", R1, row(2), RCell, Tall, Captioned},
    {Kind::ComboBox, "Combo2", "Settings", R2, row(2), RCell, Tall},

    {Kind::Frame, "Campaign", nullptr, RightFrames, 5520, RightWidth, 2490, Captioned},
    {Kind::Button, "btnCampaign", "Campaign", R1, row(0), RCell, Tall, Captioned},
    {Kind::ListBox, "List1", "Campaign", R2, row(0), RCell, 2130},
};
constexpr ui::WindowDesign Design{.name = "Other",
                                  .title = Captioned,
                                  .width = RightFrames + RightWidth + 120,
                                  .height = 8130,
                                  .layout = Layout,
                                  .closedByDisconnect = true};

constexpr qsizetype MaxCampaigns = 1000;

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

// Buttons that change the whole match, or hand out referee rights, ask for confirmation first.
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
    : Window(context, owner)
    , m_campaigns(new rcon::Endpoint(QStringLiteral("Socket2"), this))
{
    setUp(Design);
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
        onClick(opener.button, [this, action = opener.action] { Q_EMIT confirmRequested(action); });
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
