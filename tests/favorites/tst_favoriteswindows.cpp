// The favourites windows over a store the test fills: each line stands for its own row, whatever its name.

#include "favorites/favoritesstore.h"
#include "testenv.h"

#include <QLineEdit>

using korvane::favorites::FavoritesStore;
using namespace Qt::StringLiterals;

namespace {

const QStringList Rows[] = {{u"dup"_s, u"10.0.0.1"_s, u"1111"_s, u"first"_s},
                            {u"dup"_s, u"10.0.0.2"_s, u"2222"_s, u"second"_s},
                            {u"Alpha"_s, u"10.0.0.8"_s, u"1"_s, u"short"_s},
                            {u"Alpha - Beta"_s, u"10.0.0.9"_s, u"2"_s, u"long"_s}};

constexpr const char *Filled = "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2";

// The steps (see ConnectedConsole::play), then the main window's server (null: as it was), the stored lines
// (null: the rows as filled) and the message shown (null: none).
constexpr struct {
    const char *name, *steps, *server, *stored, *message;
} Cases[] = {
    {"select a twin", "Form1/Command1|Favorites/List1=1|Favorites/Load|Favorites!", "10.0.0.2:2222:second", nullptr,
     nullptr},
    {"select a name holding \" - \"", "Form1/Command1|Favorites/List1=3|Favorites/Load", "10.0.0.9:2:long", nullptr,
     nullptr},
    {"delete a twin",
     "Form1/Command1|Favorites/List1=1|Favorites/Delete|Favorites/List1?dup - 10.0.0.1:1111\n"
     "Alpha - 10.0.0.8:1\nAlpha - Beta - 10.0.0.9:2",
     nullptr, "dup - 10.0.0.1:1111,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2", nullptr},
    {"delete a name holding \" - \"", "Form1/Command1|Favorites/List1=3|Favorites/Delete", nullptr,
     "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1", nullptr},
    {"add with quotes, reopened",
     "Form1/Command1|Favorites/Add|Favorites!|add_Favorites/ServerName=Bob's \"place\"|"
     "add_Favorites/IP=10.0.0.'1\"|add_Favorites/Port=27'960\"|add_Favorites/RconPassword=pa'ss\"word|"
     "add_Favorites/Add|add_Favorites!|Favorites/Load?Selecteren/OK",
     nullptr,
     "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2,"
     "Bob's \"place\" - 10.0.0.'1\":27'960\"",
     nullptr},
    {"add without a password",
     "Form1/Command1|Favorites/Add|add_Favorites/ServerName=x|add_Favorites/IP=y|"
     "add_Favorites/Port=1|add_Favorites/Add",
     nullptr, nullptr, "Cannot add favorite - some fields are empty"},
    {"select without a line", "Form1/Command1|Favorites/Load", nullptr, nullptr, "Please select a server"},
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
        QCOMPARE(s.play(QString::fromUtf8(c.steps)), QString());
        QCOMPARE(server(), c.server ? QString::fromUtf8(c.server) : before);
        QStringList stored;
        const auto rows = store.listAll().value();
        for (const auto &row : rows)
            stored.append(row.name + u" - "_s + row.ip + u':' + row.port);
        QCOMPARE(stored.join(u','),
                 c.stored
                     ? QString::fromUtf8(c.stored)
                     : QString::fromUtf8(
                           "dup - 10.0.0.1:1111,dup - 10.0.0.2:2222,Alpha - 10.0.0.8:1,Alpha - Beta - 10.0.0.9:2"));
        QCOMPARE(s.program.messages, c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList());
    }
};

QTEST_MAIN(TestFavoritesWindows)
#include "tst_favoriteswindows.moc"
