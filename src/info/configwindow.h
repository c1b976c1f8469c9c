#pragma once

#include "ui/answerfield.h"
#include "ui/secondarywindow.h"

namespace korvane::info {

// The ETPro configurations of the server: lists them and loads the one named in edtConfig2, all
// through the window's own endpoint, with every answer shown in the window's list.
class ConfigWindow final : public ui::SecondaryWindow {
    Q_OBJECT

public:
    ConfigWindow(const ui::Context &context, QWidget *owner);
    ~ConfigWindow() override;

    rcon::Endpoint *endpoint() override { return m_endpoint; }

private:
    void askForList();
    void loadConfig();
    void showDatagram(const QByteArray &datagram);

    ui::AnswerField *m_answers;
    rcon::Endpoint *m_endpoint;
};

} // namespace korvane::info
