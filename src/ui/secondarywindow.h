#pragma once

#include "ui/captions.h"
#include "ui/context.h"
#include "ui/form.h"

#include <QWidget>

#include <concepts>
#include <span>

namespace korvane::rcon {
class Endpoint;
}

namespace korvane::ui {

// A window opened from the main window: a top-level window of its own, at most one of each kind,
// discarded when closed. Its owner keeps a guarded pointer to it and forgets it the moment the window
// closes (see closing()), so a reopening in the same event never finds the old one.
class SecondaryWindow : public QWidget {
    Q_OBJECT

public:
    SecondaryWindow(const Context &context, QWidget *owner);
    ~SecondaryWindow() override;

    // Shows the window without blocking and brings it to the front.
    void showAndRaise();
    // Sets the window's language texts, as its caption table lists them.
    void applyCaptions();

    // The window's own UDP endpoint, if it has one.
    virtual rcon::Endpoint *endpoint() { return nullptr; }

Q_SIGNALS:
    void closing();

protected:
    // Names the window, sizes it (in twips), builds its controls and takes its caption table.
    void setUp(const char *name, const char *title, int widthTwips, int heightTwips, std::span<const Control> layout,
               std::span<const Caption> captions);
    template <typename T = QWidget> T *control(const char *name) const { return m_controls.get<T>(name); }
    // Connects a click on the named button to a member of the window, or to a function.
    template <typename Window> void onClick(const char *button, void (Window::*handler)());
    template <std::invocable Handler> void onClick(const char *button, Handler &&handler);

    const Controls &controls() const { return m_controls; }
    rcon::ServerLink &link() const { return m_context.link; }
    Environment &environment() const { return m_context.environment; }

    void closeEvent(QCloseEvent *event) override;

private:
    Context m_context;
    Controls m_controls;
    std::span<const Caption> m_captions;
};

} // namespace korvane::ui

#include <QPushButton>

template <typename Window> void korvane::ui::SecondaryWindow::onClick(const char *button, void (Window::*handler)())
{
    connect(control<QPushButton>(button), &QPushButton::clicked, static_cast<Window *>(this), handler);
}

template <std::invocable Handler> void korvane::ui::SecondaryWindow::onClick(const char *button, Handler &&handler)
{
    connect(control<QPushButton>(button), &QPushButton::clicked, this, std::forward<Handler>(handler));
}
