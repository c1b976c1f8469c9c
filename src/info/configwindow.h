#pragma once

#include "ui/serveranswers.h"
#include "ui/window.h"

namespace korvane::info {

// The ETPro configurations of the server: lists them and loads the one named in edtConfig2, all
// through the window's own endpoint, with every answer shown in the window's list.
class ConfigWindow final : public ui::Window {
    Q_OBJECT

public:
    ConfigWindow(const ui::Context &context, QWidget *owner);
    ~ConfigWindow() override;

    rcon::Endpoint *endpoint() override { return m_answers->endpoint(); }

private:
    void askForList();
    void loadConfig();

    ui::ServerAnswers *m_answers;
};

} // namespace korvane::info
