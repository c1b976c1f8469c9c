#include "favorites/favoriteswindow.h"

#include "ui/environment.h"

#include <QListWidget>
#include <QPushButton>

namespace korvane::favorites {

namespace {

using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::ListBox, "List1", nullptr, 120, 120, 4800, 3135},
    {Kind::Button, "Add", nullptr, 120, 3375, 1530, 375, "Add"},
    {Kind::Button, "Delete", nullptr, 1755, 3375, 1530, 375, "Delete"},
    {Kind::Button, "Load", nullptr, 3390, 3375, 1530, 375, "Select/OK"},
};

constexpr ui::Caption Captions[] = {{"Favorites"}, {"Favorites.Add"}, {"Favorites.Load"}, {"Favorites.Delete"}};

const QString NameSeparator = QStringLiteral(" - ");

QString lineOf(const FavoriteServer &server)
{
    return server.name + NameSeparator + server.ip + QLatin1Char(':') + server.port;
}

// A line only carries the name up to its first " - ": a name that holds one is looked up cut short.
QString nameOf(const QString &line)
{
    const qsizetype separator = line.indexOf(NameSeparator);
    return separator < 0 ? line : line.left(separator);
}

} // namespace

FavoritesWindow::FavoritesWindow(const ui::Context &context, QWidget *owner)
    : SecondaryWindow(context, owner)
{
    setUp("Favorites", "Favorites", 5040, 3870, Layout, Captions);
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
    for (const FavoriteServer &server : *servers)
        list->addItem(lineOf(server));
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
    const std::optional<FavoriteServer> server = store.findByName(nameOf(line->text()));
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
    if (!store.removeByName(nameOf(line->text()))) {
        // The line stays while its row does.
        reportFailure(store.lastError());
        return;
    }
    // Only the chosen line goes; other lines of the same name stay until the list is read again.
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
