#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class ReasonDialog final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit ReasonDialog(MainWindow &main);
    ~ReasonDialog() override;

    void applyCaptions();
    void setAction(const QString &action, bool reasonEnabled, bool lengthEnabled);
};

} // namespace korvane
