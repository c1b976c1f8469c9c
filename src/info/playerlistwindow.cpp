#include "info/playerlistwindow.h"

#include "rcon/serverlink.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/answerfield.h"
#include "ui/environment.h"

#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>

namespace korvane::info {

// Everything in which the two popups differ.
struct PlayerListDesign {
    PlayerList list;
    const char *window; // also the name of the list field
    const char *title;
    const char *label;
    const char *endpoint;
    const char *timer;
    const char *command;
    std::array<ui::Caption, 2> captions;
};

namespace {

using ui::Kind;

constexpr PlayerListDesign Designs[] = {
    {PlayerList::Normal,
     "NormalPlayers",
     "Normal Players List Popup",
     "lblNormalPlayers",
     "SocketNormal",
     "Timer1",
     " status",
     {{{"NormalPlayers"}, {"NormalPlayers.lblNormalPlayers"}}}},
    {PlayerList::PunkBuster,
     "PBPlayers",
     "PunkBuster Players List Popup",
     "lblPBPlayers",
     "SocketPB",
     "Timer2",
     " pb_sv_plist",
     {{{"PBPlayers"}, {"PBPlayers.lblPBPlayers"}}}},
};

const PlayerListDesign &designOf(PlayerList list)
{
    const auto *design = std::find_if(std::begin(Designs), std::end(Designs),
                                      [list](const PlayerListDesign &d) { return d.list == list; });
    Q_ASSERT(design != std::end(Designs));
    return *design;
}

// The emblem at the left, the title above the list.
constexpr std::array<ui::Control, 3> layoutOf(const PlayerListDesign &d)
{
    return {{
        {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
        {Kind::Label, d.label, nullptr, 2040, 120, 7455, 255, d.title},
        {Kind::AnswerField, d.window, nullptr, 2040, 435, 7455, 3315},
    }};
}

} // namespace

PlayerListWindow::PlayerListWindow(const ui::Context &context, QWidget *owner, PlayerList list)
    : SecondaryWindow(context, owner)
    , m_design(designOf(list))
{
    setUp(m_design.window, m_design.title, 9615, 3870, layoutOf(m_design), m_design.captions);
    m_answers = new ui::AnswerField(control<QPlainTextEdit>(m_design.window));

    m_endpoint = new rcon::Endpoint(ui::text(m_design.endpoint), this);
    connect(m_endpoint, &rcon::Endpoint::datagramReceived, this, &PlayerListWindow::showDatagram);

    // Precise: the list is meant to come every seven seconds, not somewhere around that.
    m_timer = new QTimer(this);
    m_timer->setObjectName(ui::text(m_design.timer));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(environment().playerListRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &PlayerListWindow::refresh);
    // The window is deleted only later; a tick in between must not ask again.
    connect(this, &SecondaryWindow::closing, m_timer, &QTimer::stop);
    m_timer->start();

    // The host and port are taken now, once; the ticks reuse the open endpoint.
    link().open(*m_endpoint);
    refresh();
}

PlayerListWindow::~PlayerListWindow() = default;

void PlayerListWindow::refresh()
{
    // Emptied before asking, so the list shows only what came since this request.
    m_answers->clear();
    link().send(*m_endpoint, ui::text(m_design.command));
}

void PlayerListWindow::showDatagram(const QByteArray &datagram)
{
    // The pieces of a long answer are joined as they come, so the list reads as one text.
    m_answers->appendAnswer(rcon::cleanReply(rcon::fromWire(datagram)));
}

} // namespace korvane::info
