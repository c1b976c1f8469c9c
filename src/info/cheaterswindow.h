#pragma once

#include "console/secondarywindow.h"

class QPlainTextEdit;

namespace korvane {

// The ETPro cheaters list: asked for once when the window opens, shown, and saved to a text file on
// request. A server without ETPro is reported in one sentence instead of its "unknown command".
class CheatersWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit CheatersWindow(MainWindow &main);
    ~CheatersWindow() override;

    void applyCaptions();
    RconChannel *endpoint() override { return m_endpoint; }

private:
    void showDatagram(const QByteArray &datagram);
    void save();

    QPlainTextEdit *m_field;
    RconChannel *m_endpoint;
};

} // namespace korvane
