// The favourites windows over a store the test fills: each line stands for its own row, whatever its name.

#include "favorites/favoritesstore.h"
#include "testenv.h"

#include <QLineEdit>

using korvane::favorites::FavoritesStore;

namespace {

const QStringList Rows[] = {{u"dup"_s, u"10.0.0.1"_s, u"1111"_s, u"first"_s},
                            {u"dup"_s, u"10.0.0.2"_s, u"2222"_s, u"second"_s},
                            {u"Alpha"_s, u"10.0.0.8"_s, u"1"_s, u"short"_s},
                            {u"Alpha - Beta"_s, u"10.0.0.9"_s, u"2"_s, u"long"_s}};

const QString Filled = u"dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2"_s;

void openFavorites(ConnectedConsole &s)
{
    s.click("Form1", "Command1");
}

// What the user does, then the main window's server (null: as it was), the stored lines (null: the rows as filled)
// and the message shown (null: none).
const struct {
    const char *name;
    void (*steps)(ConnectedConsole &);
    const char *server = nullptr, *stored = nullptr, *message = nullptr;
} Cases[] = {
    {.name = "select a twin",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.choose("Favorites", "List1", 1);
             s.click("Favorites", "Load");
             QVERIFY(!window("Favorites"));
         },
     .server = "10.0.0.2:2222:second"},
    {.name = "select a name holding \" - \"",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.choose("Favorites", "List1", 3);
             s.click("Favorites", "Load");
         },
     .server = "10.0.0.9:2:long"},
    {.name = "delete a twin",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.choose("Favorites", "List1", 1);
             s.click("Favorites", "Delete");
             QCOMPARE(s.reads("Favorites", "List1"),
                      u"dup - 10.0.0.1:1111\nAlpha - 10.0.0.8:1\nAlpha - Beta - 10.0.0.9:2"_s);
         },
     .stored = "dup - 10.0.0.1:1111,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2"},
    {.name = "delete a name holding \" - \"",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.choose("Favorites", "List1", 3);
             s.click("Favorites", "Delete");
         },
     .stored = "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1"},
    {.name = "add with quotes, reopened",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.click("Favorites", "Add");
             s.type("add_Favorites", "ServerName", u"Bob's \"place\""_s);
             s.type("add_Favorites", "IP", u"10.0.0.'1\""_s);
             s.type("add_Favorites", "Port", u"27'960\""_s);
             s.type("add_Favorites", "RconPassword", u"pa'ss\"word"_s);
             s.click("add_Favorites", "Add");
             QVERIFY(!window("add_Favorites") && window("Favorites"));
         },
     .stored = "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2,"
               "Bob's \"place\" - 10.0.0.'1\":27'960\""},
    {.name = "add without a password",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.click("Favorites", "Add");
             s.type("add_Favorites", "ServerName", u"x"_s);
             s.type("add_Favorites", "IP", u"y"_s);
             s.type("add_Favorites", "Port", u"1"_s);
             s.click("add_Favorites", "Add");
         },
     .message = "Cannot add favorite - some fields are empty"},
    {.name = "select without a line",
     .steps =
         [](ConnectedConsole &s) {
             openFavorites(s);
             s.click("Favorites", "Load");
         },
     .message = "Please select a server"},
};

} // namespace

class TestFavoritesWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineStandsForItsRow_data() { testdata::addRows(Cases); }
    void lineStandsForItsRow()
    {
        const auto &c = testdata::current(Cases);
        ConnectedConsole s(u"dutch"_s);
        FavoritesStore store(s.program.file(u"Korvane.mdb"_s));
        for (const QStringList &row : Rows)
            QVERIFY(store.insert(row.at(0), row.at(1), row.at(2), row.at(3)));
        const auto server = [&s] {
            return QStringList{find<QLineEdit>(&s.main, "edtIP")->text(), find<QLineEdit>(&s.main, "edtPort")->text(),
                               find<QLineEdit>(&s.main, "edtrconpassword")->text()}
                .join(u':');
        };
        const QString before = server();
        c.steps(s);
        QCOMPARE(server(), c.server ? QString::fromUtf8(c.server) : before);
        QStringList stored;
        const auto rows = store.listAll().value();
        for (const auto &row : rows)
            stored.append(row.name + u" - "_s + row.ip + u':' + row.port);
        QCOMPARE(stored.join(u','), c.stored ? QString::fromUtf8(c.stored) : Filled);
        QCOMPARE(s.program.messages, c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList());
    }
};

QTEST_MAIN(TestFavoritesWindows)
#include "tst_favoriteswindows.moc"
