#include "ui/secondarywindow.h"

#include "rcon/endpoint.h"
#include "ui/environment.h"

#include <QCloseEvent>

namespace korvane::ui {

SecondaryWindow::SecondaryWindow(const Context &context, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_context(context)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

SecondaryWindow::~SecondaryWindow() = default;

void SecondaryWindow::setUp(const char *name, const char *title, int widthTwips, int heightTwips,
                            std::span<const Control> layout, std::span<const Caption> captions)
{
    setUpWindow(this, name, title, widthTwips, heightTwips);
    m_controls = build(this, layout);
    m_captions = captions;
}

void SecondaryWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void SecondaryWindow::applyCaptions()
{
    ui::applyCaptions(this, m_controls, environment().settings, m_captions);
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    // Release the endpoint at once: nothing may be sent or shown for a closed window.
    if (rcon::Endpoint *own = endpoint())
        own->close();
    Q_EMIT closing();
    QWidget::closeEvent(event);
}

} // namespace korvane::ui
