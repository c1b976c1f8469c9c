#pragma once

#include "console/secondarywindow.h"

class QPlainTextEdit;

namespace korvane {

// The ETPro configurations of the server: lists them and loads the one named in edtConfig2, all
// through the window's own endpoint, with every answer shown in the window's list.
class ConfigWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit ConfigWindow(MainWindow &main);
    ~ConfigWindow() override;

    void applyCaptions();
    RconChannel *endpoint() override { return m_endpoint; }

private:
    void askForList();
    void loadConfig();
    void showDatagram(const QByteArray &datagram);

    QPlainTextEdit *m_field;
    RconChannel *m_endpoint;
};

} // namespace korvane
