#include "favorites/addfavoritedialog.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"
#include "favorites/favoritesstore.h"
#include "settings/captions.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
    {Kind::Label, "Label1", nullptr, 120, 165, 1620, 255, "Server Name:"},
    {Kind::Field, "ServerName", nullptr, 1800, 120, 2760, 315},
    {Kind::Label, "Label2", nullptr, 120, 570, 1620, 255, "Server IP:"},
    {Kind::Field, "IP", nullptr, 1800, 525, 2760, 315},
    {Kind::Label, "Label3", nullptr, 120, 975, 1620, 255, "Server Port:"},
    {Kind::Field, "Port", nullptr, 1800, 930, 2760, 315},
    {Kind::Label, "Label4", nullptr, 120, 1380, 1620, 255, "Rcon Password:"},
    {Kind::PasswordField, "RconPassword", nullptr, 1800, 1335, 2760, 315},
    {Kind::Button, "Add", nullptr, 1800, 1800, 2760, 375, "Add"},
};

constexpr captions::Entry Captions[] = {
    {"add_Favorites", nullptr},         {"add_Favorites.Label1", "Label1"}, {"add_Favorites.Label2", "Label2"},
    {"add_Favorites.Label3", "Label3"}, {"add_Favorites.Label4", "Label4"}, {"add_Favorites.Add", "Add"},
};

// The fields of a server, in the order the store takes them.
constexpr const char *ServerFields[] = {"ServerName", "IP", "Port", "RconPassword"};

} // namespace

AddFavoriteDialog::AddFavoriteDialog(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "add_Favorites", "Add Server", 4680, 2310);
    form::build(this, Layout);
    connect(form::child<QPushButton>(this, "Add"), &QPushButton::clicked, this, &AddFavoriteDialog::addServer);
}

AddFavoriteDialog::~AddFavoriteDialog() = default;

void AddFavoriteDialog::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, Captions);
}

void AddFavoriteDialog::addServer()
{
    QStringList texts;
    for (const char *field : ServerFields)
        texts.append(form::child<QLineEdit>(this, field)->text());
    // A favourite without its password would be no use for connecting, so every field counts.
    if (std::any_of(texts.cbegin(), texts.cend(), [](const QString &text) { return text.isEmpty(); })) {
        mainWindow().environment().message(this, QStringLiteral("Cannot add favorite - some fields are empty"));
        return;
    }
    FavoritesStore store(mainWindow().environment().favoritesFile);
    if (!store.insert(texts.at(0), texts.at(1), texts.at(2), texts.at(3))) {
        // The dialog stays with what was typed, so nothing is lost when the store can be fixed.
        mainWindow().environment().message(this, store.lastError());
        return;
    }
    mainWindow().showFavoritesAfterAdd();
    close();
}

} // namespace korvane
