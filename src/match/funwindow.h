#pragma once

#include "ui/window.h"

namespace korvane::match {

// The fun server variables of the mod, one button each, and a master reset that puts all eight back
// one by one. Everything is sent on the main endpoint; the replies land in the console.
class FunWindow final : public ui::Window {
    Q_OBJECT

public:
    FunWindow(const ui::Context &context, QWidget *owner);
    ~FunWindow() override;

private:
    void masterReset();
};

} // namespace korvane::match
