#pragma once

#include "console/mainwindow.h"
#include "console/secondarywindow.h"

class QPlainTextEdit;
class QTimer;

namespace korvane {

struct PlayerListDesign;

// A self-refreshing player list: the normal one (" status") or PunkBuster's (" pb_sv_plist"). Each
// has its own endpoint, so its answers never reach the console log, and asks again on every tick of
// its timer for as long as it is open.
class PlayerListWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit PlayerListWindow(MainWindow &main, PlayerList list);
    ~PlayerListWindow() override;

    void applyCaptions();
    RconChannel *endpoint() override { return m_endpoint; }

private:
    void refresh();
    void showDatagram(const QByteArray &datagram);

    const PlayerListDesign &m_design;
    QPlainTextEdit *m_field;
    RconChannel *m_endpoint;
    QTimer *m_timer;
};

} // namespace korvane
