#pragma once

#include "ui/confirmaction.h"
#include "ui/window.h"

namespace korvane::match {

// The referee commands of a match. Every button sends on the main endpoint, so the replies land in
// the console; the window's own endpoint only fetches the server's campaign list when it loads.
class GamePlayWindow final : public ui::Window {
    Q_OBJECT

public:
    GamePlayWindow(const ui::Context &context, QWidget *owner);
    ~GamePlayWindow() override;

    // The referee field's text of this moment.
    QString refereeText() const;

    rcon::Endpoint *endpoint() override { return m_campaigns; }

Q_SIGNALS:
    // A match-wide action (or referee rights, for the player in the referee field) to be confirmed first.
    void confirmRequested(korvane::ui::ConfirmAction action);
    void funRequested();

private:
    void wireButtons();
    void addCampaigns(const QByteArray &datagram);
    void loadCampaign();

    rcon::Endpoint *m_campaigns;
};

} // namespace korvane::match
