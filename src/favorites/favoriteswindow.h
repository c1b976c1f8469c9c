#pragma once

#include "favorites/favoritesstore.h"
#include "ui/window.h"

class QListWidgetItem;

namespace korvane::favorites {

// The stored servers, one line each ("Name - IP:Port", in the order they were added). Select/OK
// hands a server to the main window's fields, Delete forgets it, Add asks for the add dialog. The
// list is read once, when the window opens; afterwards the list box is the only copy.
class FavoritesWindow final : public ui::Window {
    Q_OBJECT

public:
    FavoritesWindow(const ui::Context &context, QWidget *owner);
    ~FavoritesWindow() override;

Q_SIGNALS:
    // The window closes after each of these.
    void serverChosen(const korvane::favorites::FavoriteServer &server);
    void addRequested();

private:
    void fillList();
    void selectServer();
    void deleteServer();
    void addServer();
    // The selected line, or nullptr after telling the user to pick one.
    QListWidgetItem *selectedLine();
    void reportFailure(const QString &failure);
};

} // namespace korvane::favorites
