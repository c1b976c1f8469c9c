#include "console/secondarywindow.h"

#include "console/mainwindow.h"
#include "rcon/rconchannel.h"

#include <QCloseEvent>

namespace korvane {

SecondaryWindow::SecondaryWindow(MainWindow &main)
    : QWidget(&main, Qt::Window)
    , m_main(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

SecondaryWindow::~SecondaryWindow() = default;

void SecondaryWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    // Release the endpoint at once: nothing may be sent or shown for a closed window.
    if (RconChannel *channel = endpoint())
        channel->close();
    Q_EMIT closing();
    QWidget::closeEvent(event);
}

} // namespace korvane
