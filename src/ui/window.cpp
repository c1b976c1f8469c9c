#include "ui/window.h"

#include "rcon/endpoint.h"
#include "ui/captions.h"
#include "ui/environment.h"

#include <QCloseEvent>

namespace korvane::ui {

Window::Window(const Context &context, QWidget *owner)
    : QWidget(owner, owner ? Qt::Window : Qt::WindowFlags())
    , m_context(context)
{
    if (owner)
        setAttribute(Qt::WA_DeleteOnClose);
}

Window::~Window() = default;

void Window::setUp(const WindowDesign &design)
{
    m_design = design;
    m_controls = build(this, design);
}

void Window::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void Window::applyCaptions()
{
    ui::applyCaptions(this, m_design, m_controls, environment().settings.languageTexts());
}

void Window::closeEvent(QCloseEvent *event)
{
    // Release the endpoint at once: nothing may be sent or shown for a closed window.
    if (rcon::Endpoint *own = endpoint())
        own->close();
    Q_EMIT closing();
    QWidget::closeEvent(event);
}

} // namespace korvane::ui
