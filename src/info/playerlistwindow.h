#pragma once

#include "ui/answerfield.h"
#include "ui/secondarywindow.h"

class QTimer;

namespace korvane::info {

enum class PlayerList { Normal, PunkBuster };

struct PlayerListDesign;

// A self-refreshing player list: the normal one (" status") or PunkBuster's (" pb_sv_plist"). Each
// has its own endpoint, so its answers never reach the console log, and asks again on every tick of
// its timer for as long as it is open.
class PlayerListWindow final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    PlayerListWindow(const ui::Context &context, QWidget *owner, PlayerList list);
    ~PlayerListWindow() override;

    rcon::Endpoint *endpoint() override { return m_endpoint; }

private:
    void refresh();
    void showDatagram(const QByteArray &datagram);

    const PlayerListDesign &m_design;
    ui::AnswerField *m_answers;
    rcon::Endpoint *m_endpoint;
    QTimer *m_timer;
};

} // namespace korvane::info
