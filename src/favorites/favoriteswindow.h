#pragma once

#include "console/secondarywindow.h"

class QListWidgetItem;

namespace korvane {

// The stored servers, one line each ("Name - IP:Port", in the order they were added). Select/OK
// copies a server into the main window's fields, Delete forgets it, Add opens the add dialog. The
// list is read once, when the window opens; afterwards the list box is the only copy.
class FavoritesWindow final : public SecondaryWindow {
    Q_OBJECT

public:
    explicit FavoritesWindow(MainWindow &main);
    ~FavoritesWindow() override;

    void applyCaptions();

private:
    void fillList();
    void selectServer();
    void deleteServer();
    void addServer();
    // The selected line, or nullptr after telling the user to pick one.
    QListWidgetItem *selectedLine();
    void reportFailure(const QString &failure);
};

} // namespace korvane
