#include "info/playerlistwindow.h"

#include "console/consolelog.h"
#include "console/formbuilder.h"
#include "rcon/rconchannel.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "settings/captions.h"

#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>

namespace korvane {

// Everything in which the two popups differ.
struct PlayerListDesign {
    PlayerList list;
    const char *window; // also the name of the list field
    const char *title;
    const char *label;
    const char *endpoint;
    const char *timer;
    const char *command;
    std::array<captions::Entry, 2> captions;
};

namespace {

using form::Kind;

constexpr PlayerListDesign Designs[] = {
    {PlayerList::Normal,
     "NormalPlayers",
     "Normal Players List Popup",
     "lblNormalPlayers",
     "SocketNormal",
     "Timer1",
     " status",
     {{{"NormalPlayers", nullptr}, {"NormalPlayers.lblNormalPlayers", "lblNormalPlayers"}}}},
    {PlayerList::PunkBuster,
     "PBPlayers",
     "PunkBuster Players List Popup",
     "lblPBPlayers",
     "SocketPB",
     "Timer2",
     " pb_sv_plist",
     {{{"PBPlayers", nullptr}, {"PBPlayers.lblPBPlayers", "lblPBPlayers"}}}},
};

const PlayerListDesign &designOf(PlayerList list)
{
    const auto *design = std::find_if(std::begin(Designs), std::end(Designs),
                                      [list](const PlayerListDesign &d) { return d.list == list; });
    Q_ASSERT(design != std::end(Designs));
    return *design;
}

// The emblem at the left, the title above the list.
constexpr std::array<form::Control, 3> layoutOf(const PlayerListDesign &d)
{
    return {{
        {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
        {Kind::Label, d.label, nullptr, 2040, 120, 7455, 255, d.title},
        {Kind::AnswerField, d.window, nullptr, 2040, 435, 7455, 3315},
    }};
}

} // namespace

PlayerListWindow::PlayerListWindow(MainWindow &main, PlayerList list)
    : SecondaryWindow(main)
    , m_design(designOf(list))
{
    form::setUpWindow(this, m_design.window, m_design.title, 9615, 3870);
    form::build(this, layoutOf(m_design));
    m_field = form::child<QPlainTextEdit>(this, m_design.window);

    m_endpoint = new RconChannel(this);
    m_endpoint->setObjectName(form::text(m_design.endpoint));
    connect(m_endpoint, &RconChannel::datagramReceived, this, &PlayerListWindow::showDatagram);

    // Precise: the list is meant to come every seven seconds, not somewhere around that.
    m_timer = new QTimer(this);
    m_timer->setObjectName(form::text(m_design.timer));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(main.environment().playerListRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &PlayerListWindow::refresh);
    // The window is deleted only later; a tick in between must not ask again.
    connect(this, &SecondaryWindow::closing, m_timer, &QTimer::stop);
    m_timer->start();

    // The host and port are taken now, once; the ticks reuse the open endpoint.
    mainWindow().openEndpoint(*m_endpoint);
    refresh();
}

PlayerListWindow::~PlayerListWindow() = default;

void PlayerListWindow::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, m_design.captions);
}

void PlayerListWindow::refresh()
{
    // Emptied before asking, so the list shows only what came since this request.
    m_field->clear();
    m_field->repaint();
    mainWindow().sendCommand(*m_endpoint, form::text(m_design.command));
}

void PlayerListWindow::showDatagram(const QByteArray &datagram)
{
    // The pieces of a long answer are joined as they come, so the list reads as one text.
    ConsoleLog::appendTo(m_field, rcon::cleanReply(codec::fromWire(datagram)));
}

} // namespace korvane
