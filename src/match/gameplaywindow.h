#pragma once

#include "console/secondarywindow.h"

namespace korvane {

// The referee commands of a match. Every button sends on the main endpoint, so the replies land in
// the console; the window's own endpoint only fetches the server's campaign list when it loads.
class GamePlayWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit GamePlayWindow(MainWindow &main);
    ~GamePlayWindow() override;

    void applyCaptions();
    // The referee field's text of this moment.
    QString refereeText() const;

    RconChannel *endpoint() override { return m_campaigns; }

private:
    void wireButtons();
    void addCampaigns(const QByteArray &datagram);
    void loadCampaign();

    RconChannel *m_campaigns;
};

} // namespace korvane
