#include "favorites/favoriteswindow.h"

#include "ui/environment.h"

#include <QListWidget>
#include <QPushButton>

namespace korvane::favorites {

namespace {

using ui::Captioned;
using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::ListBox, "List1", nullptr, 120, 120, 4800, 3135},
    {Kind::Button, "Add", nullptr, 120, 3375, 1530, 375, Captioned},
    {Kind::Button, "Delete", nullptr, 1755, 3375, 1530, 375, Captioned},
    {Kind::Button, "Load", nullptr, 3390, 3375, 1530, 375, Captioned},
};

constexpr ui::WindowDesign Design{
    .name = "Favorites", .title = Captioned, .width = 5040, .height = 3870, .layout = Layout};

QString lineOf(const FavoriteServer &server)
{
    return server.name + QStringLiteral(" - ") + server.ip + QLatin1Char(':') + server.port;
}

// Each line keeps the id of the row it was made from: two servers may share a name, and a name may
// hold " - ", so the text of a line cannot say which row it stands for.
constexpr int RowId = Qt::UserRole;

} // namespace

FavoritesWindow::FavoritesWindow(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    onClick("Add", &FavoritesWindow::addServer);
    onClick("Delete", &FavoritesWindow::deleteServer);
    onClick("Load", &FavoritesWindow::selectServer);
    fillList();
}

FavoritesWindow::~FavoritesWindow() = default;

void FavoritesWindow::fillList()
{
    FavoritesStore store(environment().favoritesFile);
    const std::optional<QList<FavoriteServer>> servers = store.listAll();
    if (!servers) {
        // The window still opens, empty; it is not shown yet, so the message stands over its owner.
        environment().message(parentWidget(), store.lastError());
        return;
    }
    auto *list = control<QListWidget>("List1");
    for (const FavoriteServer &server : *servers) {
        auto *line = new QListWidgetItem(lineOf(server), list);
        line->setData(RowId, server.id);
    }
}

QListWidgetItem *FavoritesWindow::selectedLine()
{
    const QList<QListWidgetItem *> selected = control<QListWidget>("List1")->selectedItems();
    if (selected.isEmpty() || selected.constFirst()->text().isEmpty()) {
        environment().message(this, QStringLiteral("Please select a server"));
        return nullptr;
    }
    return selected.constFirst();
}

void FavoritesWindow::selectServer()
{
    const QListWidgetItem *line = selectedLine();
    if (!line)
        return;
    FavoritesStore store(environment().favoritesFile);
    const std::optional<FavoriteServer> server = store.findById(line->data(RowId).toLongLong());
    if (!server) {
        // The main window keeps its server: half a server in its fields would be worse than none.
        reportFailure(store.lastError());
        return;
    }
    Q_EMIT serverChosen(*server);
    close();
}

void FavoritesWindow::deleteServer()
{
    QListWidgetItem *line = selectedLine();
    if (!line)
        return;
    FavoritesStore store(environment().favoritesFile);
    if (!store.removeById(line->data(RowId).toLongLong())) {
        // The line stays while its row does.
        reportFailure(store.lastError());
        return;
    }
    delete line;
}

void FavoritesWindow::addServer()
{
    Q_EMIT addRequested();
    close();
}

void FavoritesWindow::reportFailure(const QString &failure)
{
    environment().message(this, failure);
}

} // namespace korvane::favorites
