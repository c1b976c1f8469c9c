#pragma once

#include "console/secondarywindow.h"

namespace korvane {

class GamePlayWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit GamePlayWindow(MainWindow &main);
    ~GamePlayWindow() override;

    void applyCaptions();
    // The referee field's text of this moment.
    QString refereeText() const;
};

} // namespace korvane
