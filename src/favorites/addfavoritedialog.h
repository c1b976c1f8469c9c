#pragma once

#include "ui/window.h"

namespace korvane::favorites {

// Adds one server to the favourites: a name, its address, port and rcon password, none of them empty.
// After a successful add the favourites window opens again and shows it.
class AddFavoriteDialog final : public ui::Window {
    Q_OBJECT

public:
    AddFavoriteDialog(const ui::Context &context, QWidget *owner);
    ~AddFavoriteDialog() override;

Q_SIGNALS:
    // A server was stored; the dialog closes next.
    void added();

private:
    void addServer();
};

} // namespace korvane::favorites
