#pragma once

#include "ui/serveranswers.h"
#include "ui/window.h"

class QTimer;

namespace korvane::info {

enum class PlayerList { Normal, PunkBuster };

struct PlayerListDesign;

// A self-refreshing player list: the normal one (" status") or PunkBuster's (" pb_sv_plist"). Each
// has its own endpoint, so its answers never reach the console log, and asks again on every tick of
// its timer for as long as it is open.
class PlayerListWindow final : public ui::Window {
    Q_OBJECT

public:
    PlayerListWindow(const ui::Context &context, QWidget *owner, PlayerList list);
    ~PlayerListWindow() override;

    rcon::Endpoint *endpoint() override { return m_answers->endpoint(); }

private:
    void refresh();

    const PlayerListDesign &m_design;
    ui::ServerAnswers *m_answers;
    QTimer *m_timer;
};

} // namespace korvane::info
