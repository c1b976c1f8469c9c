#pragma once

#include <QWidget>

namespace korvane {

class MainWindow;
class RconChannel;

// A window opened from the main window: a top-level window of its own, at most one of each kind,
// discarded when closed. The main window keeps a guarded pointer to each and forgets it the moment
// the window closes (see closing()), so a reopening in the same event never finds the old one.
class SecondaryWindow : public QWidget {
    Q_OBJECT

public:
    explicit SecondaryWindow(MainWindow &main);
    ~SecondaryWindow() override;

    // Shows the window without blocking and brings it to the front.
    void showAndRaise();

    // The window's own UDP endpoint, if it has one.
    virtual RconChannel *endpoint() { return nullptr; }

Q_SIGNALS:
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    MainWindow &mainWindow() const { return m_main; }

private:
    MainWindow &m_main;
};

} // namespace korvane
