#include "info/playerlistwindow.h"

#include "rcon/wireformat.h"
#include "ui/environment.h"

#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>

namespace korvane::info {

namespace {

using ui::Captioned;
using ui::Kind;

// The emblem at the left, the title above the list; the list field is named as its window.
constexpr std::array<ui::Control, 3> layoutOf(const char *window, const char *label)
{
    return {{
        {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
        {Kind::Label, label, nullptr, 2040, 120, 7455, 255, Captioned},
        {Kind::AnswerField, window, nullptr, 2040, 435, 7455, 3315},
    }};
}

} // namespace

// Everything in which the two popups differ.
struct PlayerListDesign {
    PlayerList list;
    const char *window;
    std::array<ui::Control, 3> layout;
    const char *endpoint;
    const char *timer;
    const char *command;
};

namespace {

constexpr PlayerListDesign Designs[] = {
    {PlayerList::Normal, "NormalPlayers", layoutOf("NormalPlayers", "lblNormalPlayers"), "SocketNormal", "Timer1",
     " status"},
    {PlayerList::PunkBuster, "PBPlayers", layoutOf("PBPlayers", "lblPBPlayers"), "SocketPB", "Timer2", " pb_sv_plist"},
};

const PlayerListDesign &designOf(PlayerList list)
{
    const auto *design = std::ranges::find(Designs, list, &PlayerListDesign::list);
    Q_ASSERT(design != std::end(Designs));
    return *design;
}

} // namespace

PlayerListWindow::PlayerListWindow(const ui::Context &context, QWidget *owner, PlayerList list)
    : Window(context, owner)
    , m_design(designOf(list))
{
    setUp({.name = m_design.window,
           .title = Captioned,
           .width = 9615,
           .height = 3870,
           .layout = m_design.layout,
           .closedByDisconnect = true});
    m_answers = new ui::ServerAnswers(this, link(), control<QPlainTextEdit>(m_design.window),
                                      ui::text(m_design.endpoint), rcon::cleanReply);

    // Precise: the list is meant to come every seven seconds, not somewhere around that.
    m_timer = new QTimer(this);
    m_timer->setObjectName(ui::text(m_design.timer));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(environment().playerListRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &PlayerListWindow::refresh);
    // The window is deleted only later; a tick in between must not ask again.
    connect(this, &Window::closing, m_timer, &QTimer::stop);
    m_timer->start();
    // The host and port were taken at opening, once; the ticks reuse the open endpoint.
    refresh();
}

PlayerListWindow::~PlayerListWindow() = default;

void PlayerListWindow::refresh()
{
    // Emptied before asking, so the list shows only what came since this request.
    m_answers->ask(ui::text(m_design.command));
}

} // namespace korvane::info
