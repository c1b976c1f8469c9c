#pragma once

#include "ui/answerfield.h"
#include "ui/secondarywindow.h"

namespace korvane::info {

// The ETPro cheaters list: asked for once when the window opens, shown, and saved to a text file on
// request. A server without ETPro is reported in one sentence instead of its "unknown command".
class CheatersWindow final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    CheatersWindow(const ui::Context &context, QWidget *owner);
    ~CheatersWindow() override;

    rcon::Endpoint *endpoint() override { return m_endpoint; }

private:
    void showDatagram(const QByteArray &datagram);
    void save();

    ui::AnswerField *m_answers;
    rcon::Endpoint *m_endpoint;
};

} // namespace korvane::info
