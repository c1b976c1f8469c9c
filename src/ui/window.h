#pragma once

#include "ui/context.h"
#include "ui/form.h"

#include <QWidget>

#include <concepts>

namespace korvane::rcon {
class Endpoint;
}

namespace korvane::ui {

// Every window of the program: built from its design table, captioned from the language file, its
// buttons connected by name. The main window has no owner. Any other window is opened by the main
// window: a top-level window of its own, at most one of each kind, discarded when closed. Its owner
// keeps a guarded pointer to it and forgets it the moment the window closes (see closing()), so a
// reopening in the same event never finds the old one.
class Window : public QWidget {
    Q_OBJECT

public:
    Window(const Context &context, QWidget *owner);
    ~Window() override;

    // Shows the window without blocking and brings it to the front.
    void showAndRaise();
    // Sets the window's language texts, as its design marks them.
    void applyCaptions();
    bool isClosedByDisconnect() const { return m_design.closedByDisconnect; }

    // The window's own UDP endpoint, if it has one.
    virtual rcon::Endpoint *endpoint() { return nullptr; }

    rcon::ServerLink &link() const { return m_context.link; }
    Environment &environment() const { return m_context.environment; }

Q_SIGNALS:
    void closing();

protected:
    // Names and sizes the window and builds its controls.
    void setUp(const WindowDesign &design);
    template <typename T = QWidget> T *control(const char *name) const { return m_controls.get<T>(name); }
    // Connects a click on the named button to a member of the window, or to a function.
    template <typename W> void onClick(const char *button, void (W::*handler)());
    template <std::invocable Handler> void onClick(const char *button, Handler &&handler);

    const Controls &controls() const { return m_controls; }

    void closeEvent(QCloseEvent *event) override;

private:
    Context m_context;
    WindowDesign m_design{};
    Controls m_controls;
};

} // namespace korvane::ui

#include <QPushButton>

template <typename W> void korvane::ui::Window::onClick(const char *button, void (W::*handler)())
{
    connect(control<QPushButton>(button), &QPushButton::clicked, static_cast<W *>(this), handler);
}

template <std::invocable Handler> void korvane::ui::Window::onClick(const char *button, Handler &&handler)
{
    connect(control<QPushButton>(button), &QPushButton::clicked, this, std::forward<Handler>(handler));
}
