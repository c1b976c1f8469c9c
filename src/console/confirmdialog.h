#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class ConfirmDialog final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit ConfirmDialog(MainWindow &main);
    ~ConfirmDialog() override;

    void applyCaptions();
    void setAction(const QString &action, const QString &parameter);
};

} // namespace korvane
