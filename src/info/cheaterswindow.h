#pragma once

#include "ui/serveranswers.h"
#include "ui/window.h"

namespace korvane::info {

// The ETPro cheaters list: asked for once when the window opens, shown, and saved to a text file on
// request. A server without ETPro is reported in one sentence instead of its "unknown command".
class CheatersWindow final : public ui::Window {
    Q_OBJECT

public:
    CheatersWindow(const ui::Context &context, QWidget *owner);
    ~CheatersWindow() override;

    rcon::Endpoint *endpoint() override { return m_answers->endpoint(); }

private:
    void save();

    ui::ServerAnswers *m_answers;
};

} // namespace korvane::info
