#include "favorites/favoriteswindow.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"
#include "favorites/favoritesstore.h"
#include "settings/captions.h"

#include <QListWidget>
#include <QPushButton>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
    {Kind::ListBox, "List1", nullptr, 120, 120, 4800, 3135},
    {Kind::Button, "Add", nullptr, 120, 3375, 1530, 375, "Add"},
    {Kind::Button, "Delete", nullptr, 1755, 3375, 1530, 375, "Delete"},
    {Kind::Button, "Load", nullptr, 3390, 3375, 1530, 375, "Select/OK"},
};

constexpr captions::Entry Captions[] = {
    {"Favorites", nullptr},
    {"Favorites.Add", "Add"},
    {"Favorites.Load", "Load"},
    {"Favorites.Delete", "Delete"},
};

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

FavoritesWindow::FavoritesWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "Favorites", "Favorites", 5040, 3870);
    form::build(this, Layout);
    const auto onClick = [this](const char *button, void (FavoritesWindow::*handler)()) {
        connect(form::child<QPushButton>(this, button), &QPushButton::clicked, this, handler);
    };
    onClick("Add", &FavoritesWindow::addServer);
    onClick("Delete", &FavoritesWindow::deleteServer);
    onClick("Load", &FavoritesWindow::selectServer);
    fillList();
}

FavoritesWindow::~FavoritesWindow() = default;

void FavoritesWindow::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, Captions);
}

void FavoritesWindow::fillList()
{
    FavoritesStore store(mainWindow().environment().favoritesFile);
    const std::optional<QList<FavoriteServer>> servers = store.listAll();
    if (!servers) {
        // The window still opens, empty; it is not shown yet, so the message stands over the main window.
        mainWindow().environment().message(&mainWindow(), store.lastError());
        return;
    }
    auto *list = form::child<QListWidget>(this, "List1");
    for (const FavoriteServer &server : *servers)
        list->addItem(lineOf(server));
}

QListWidgetItem *FavoritesWindow::selectedLine()
{
    const QList<QListWidgetItem *> selected = form::child<QListWidget>(this, "List1")->selectedItems();
    if (selected.isEmpty() || selected.constFirst()->text().isEmpty()) {
        mainWindow().environment().message(this, QStringLiteral("Please select a server"));
        return nullptr;
    }
    return selected.constFirst();
}

void FavoritesWindow::selectServer()
{
    const QListWidgetItem *line = selectedLine();
    if (!line)
        return;
    FavoritesStore store(mainWindow().environment().favoritesFile);
    const std::optional<FavoriteServer> server = store.findByName(nameOf(line->text()));
    if (!server) {
        // The main window keeps its server: half a server in its fields would be worse than none.
        reportFailure(store.lastError());
        return;
    }
    mainWindow().setServerFields(server->ip, server->port, server->rconPassword);
    mainWindow().showAndRaise();
    close();
}

void FavoritesWindow::deleteServer()
{
    QListWidgetItem *line = selectedLine();
    if (!line)
        return;
    FavoritesStore store(mainWindow().environment().favoritesFile);
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
    mainWindow().openAddFavorite();
    close();
}

void FavoritesWindow::reportFailure(const QString &failure)
{
    mainWindow().environment().message(this, failure);
}

} // namespace korvane
