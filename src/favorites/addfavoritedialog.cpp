#include "favorites/addfavoritedialog.h"

#include "favorites/favoritesstore.h"
#include "ui/environment.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace korvane::favorites {

namespace {

using ui::Captioned;
using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Label, "Label1", nullptr, 120, 165, 1620, 255, Captioned},
    {Kind::Field, "ServerName", nullptr, 1800, 120, 2760, 315},
    {Kind::Label, "Label2", nullptr, 120, 570, 1620, 255, Captioned},
    {Kind::Field, "IP", nullptr, 1800, 525, 2760, 315},
    {Kind::Label, "Label3", nullptr, 120, 975, 1620, 255, Captioned},
    {Kind::Field, "Port", nullptr, 1800, 930, 2760, 315},
    {Kind::Label, "Label4", nullptr, 120, 1380, 1620, 255, Captioned},
    {Kind::PasswordField, "RconPassword", nullptr, 1800, 1335, 2760, 315},
    {Kind::Button, "Add", nullptr, 1800, 1800, 2760, 375, Captioned},
};

constexpr ui::WindowDesign Design{
    .name = "add_Favorites", .title = Captioned, .width = 4680, .height = 2310, .layout = Layout};

// The fields of a server, in the order the store takes them.
constexpr const char *ServerFields[] = {"ServerName", "IP", "Port", "RconPassword"};

} // namespace

AddFavoriteDialog::AddFavoriteDialog(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    onClick("Add", &AddFavoriteDialog::addServer);
}

AddFavoriteDialog::~AddFavoriteDialog() = default;

void AddFavoriteDialog::addServer()
{
    QStringList texts;
    for (const char *field : ServerFields)
        texts.append(control<QLineEdit>(field)->text());
    // A favourite without its password would be no use for connecting, so every field counts.
    if (std::any_of(texts.cbegin(), texts.cend(), [](const QString &text) { return text.isEmpty(); })) {
        environment().message(this, QStringLiteral("Cannot add favorite - some fields are empty"));
        return;
    }
    FavoritesStore store(environment().favoritesFile);
    if (!store.insert(texts.at(0), texts.at(1), texts.at(2), texts.at(3))) {
        // The dialog stays with what was typed, so nothing is lost when the store can be fixed.
        environment().message(this, store.lastError());
        return;
    }
    Q_EMIT added();
    close();
}

} // namespace korvane::favorites
