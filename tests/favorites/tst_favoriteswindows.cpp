// The favourites windows over a store the test fills: each line stands for its own row, whatever its name.

#include "favorites/favoritesstore.h"
#include "testenv.h"

using korvane::favorites::FavoritesStore;

namespace {

const QString Filled = u"dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2"_s;

// A line of the list (-1: none) and the button pressed; then the main window's server (null: as it was), the
// stored lines (null: as filled) and the message shown (null: none).
// clang-format off
constexpr struct {
    const char *name;
    int line;
    const char *button, *server = nullptr, *stored = nullptr, *message = nullptr;
} Picks[] = {
    {.name = "select a twin", .line = 1, .button = "Load", .server = "10.0.0.2:2222:second"},
    {.name = "select a name holding \" - \"", .line = 3, .button = "Load", .server = "10.0.0.9:2:long"},
    {.name = "delete a twin", .line = 1, .button = "Delete",
     .stored = "dup - 10.0.0.1:1111,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2"},
    {.name = "delete a name holding \" - \"", .line = 3, .button = "Delete",
     .stored = "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1"},
    {.name = "select without a line", .line = -1, .button = "Load", .message = "Please select a server"}};
// clang-format on

struct Favorites {
    Favorites()
    {
        const QStringList rows[] = {{u"dup"_s, u"10.0.0.1"_s, u"1111"_s, u"first"_s},
                                    {u"dup"_s, u"10.0.0.2"_s, u"2222"_s, u"second"_s},
                                    {u"Alpha"_s, u"10.0.0.8"_s, u"1"_s, u"short"_s},
                                    {u"Alpha - Beta"_s, u"10.0.0.9"_s, u"2"_s, u"long"_s}};
        for (const QStringList &row : rows)
            store.insert(row.at(0), row.at(1), row.at(2), row.at(3));
        console.click("Form1", "Command1");
    }
    QString stored()
    {
        QStringList lines;
        const auto rows = store.listAll().value(); // a copy: the range must outlive the loop
        for (const auto &row : rows)
            lines.append(row.name + u" - "_s + row.ip + u':' + row.port);
        return lines.join(u',');
    }
    QString server() const
    {
        return QStringList{console.reads("Form1", "edtIP"), console.reads("Form1", "edtPort"),
                           console.reads("Form1", "edtrconpassword")}
            .join(u':');
    }
    ConnectedConsole console{u"dutch"_s};
    FavoritesStore store{console.program.file(u"Korvane.mdb"_s)};
};

} // namespace

class TestFavoritesWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineStandsForItsRow_data() { testdata::addRows(Picks); }
    void lineStandsForItsRow()
    {
        const auto &pick = testdata::current(Picks);
        Favorites f;
        const QString before = f.server();
        if (pick.line >= 0)
            f.console.choose("Favorites", "List1", pick.line);
        f.console.click("Favorites", pick.button);
        QCOMPARE(f.server(), pick.server ? QString::fromUtf8(pick.server) : before);
        QCOMPARE(f.stored(), pick.stored ? QString::fromUtf8(pick.stored) : Filled);
        QCOMPARE(f.console.program.messages,
                 pick.message ? QStringList{QString::fromUtf8(pick.message)} : QStringList());
    }

    // Only with every field filled, and quotes as typed; the favourites window comes back showing the new line.
    void addStoresWhatWasTyped()
    {
        Favorites f;
        f.console.click("Favorites", "Add");
        f.console.type("add_Favorites", "ServerName", u"Bob's \"place\""_s);
        f.console.type("add_Favorites", "IP", u"10.0.0.'1\""_s);
        f.console.type("add_Favorites", "Port", u"27'960\""_s);
        f.console.click("add_Favorites", "Add");
        QCOMPARE(f.stored(), Filled);
        QCOMPARE(f.console.program.messages, QStringList{u"Cannot add favorite - some fields are empty"_s});
        f.console.type("add_Favorites", "RconPassword", u"pa'ss\"word"_s);
        f.console.click("add_Favorites", "Add");
        QCOMPARE(f.stored(), Filled + u",Bob's \"place\" - 10.0.0.'1\":27'960\""_s);
        QVERIFY(!window("add_Favorites"));
        QVERIFY(f.console.reads("Favorites", "List1").endsWith(u"\nBob's \"place\" - 10.0.0.'1\":27'960\""_s));
        QCOMPARE(f.console.reads("Favorites", "Load"), u"Selecteren/OK"_s); // in the language of the others
    }
};

QTEST_MAIN(TestFavoritesWindows)
#include "tst_favoriteswindows.moc"
