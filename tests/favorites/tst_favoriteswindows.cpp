#include "console/mainwindow.h"
#include "favorites/favoritesstore.h"
#include "testenv.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using korvane::console::MainWindow;
using korvane::favorites::FavoritesStore;
using namespace Qt::StringLiterals;

namespace {

using Rows = QList<QStringList>; // Name, IP, Port, RconPassword

const QByteArray NotADatabase = "Name,IP,Port\r\nhome,10.0.0.1,27960\r\n";
const QStringList Kept{u"keep.example.org"_s, u"27000"_s, u"keep"_s};

// A main window over a temporary program folder whose favourites store holds `rows`.
struct Program {
    explicit Program(const Rows &rows = {}, const QString &language = u"english"_s)
        : program(language)
        , main(program.environment())
    {
        main.show();
        for (const QStringList &row : rows)
            store.insert(row.at(0), row.at(1), row.at(2), row.at(3));
    }

    QStringList serverFields() const
    {
        return {find<QLineEdit>(&main, "edtIP")->text(), find<QLineEdit>(&main, "edtPort")->text(),
                find<QLineEdit>(&main, "edtrconpassword")->text()};
    }

    QWidget *openFavorites()
    {
        click(&main, "Command1");
        return window("Favorites");
    }

    // The favourites window's Add, then the add dialog filled in.
    QWidget *openAddDialog(const QStringList &server)
    {
        click(openFavorites(), "Add");
        QWidget *dialog = window("add_Favorites");
        int i = 0;
        for (const char *field : {"ServerName", "IP", "Port", "RconPassword"})
            setField(dialog, field, server.value(i++));
        return dialog;
    }

    TestProgram program;
    MainWindow main;
    FavoritesStore store{main.environment().favoritesFile};
};

QStringList lines(const QWidget *favorites)
{
    QStringList texts;
    const auto *list = find<QListWidget>(favorites, "List1");
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

void clickLine(const QWidget *favorites, int index)
{
    auto *list = find<QListWidget>(favorites, "List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class TestFavoritesWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void selectFillsTheMainWindow_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("second of two") << Rows{{u"a"_s, u"10.0.0.1"_s, u"1"_s, u"p1"_s},
                                               {u"b"_s, u"10.0.0.2"_s, u"2"_s, u"p2"_s}}
                                       << 1 << QStringList{u"10.0.0.2"_s, u"2"_s, u"p2"_s};
        // Each line stands for its own row, whatever its name.
        QTest::newRow("twin name, second line")
            << Rows{{u"dup"_s, u"10.0.0.1"_s, u"1111"_s, u"first"_s}, {u"dup"_s, u"10.0.0.2"_s, u"2222"_s, u"second"_s}}
            << 1 << QStringList{u"10.0.0.2"_s, u"2222"_s, u"second"_s};
        QTest::newRow("name with \" - \" beside the shorter name")
            << Rows{{u"Clan - Public"_s, u"10.0.0.9"_s, u"27960"_s, u"long"_s},
                    {u"Clan"_s, u"10.0.0.8"_s, u"27961"_s, u"short"_s}}
            << 0 << QStringList{u"10.0.0.9"_s, u"27960"_s, u"long"_s};
    }

    void selectFillsTheMainWindow()
    {
        QFETCH(Rows, rows);
        QFETCH(int, line);
        QFETCH(QStringList, expected);
        Program p(rows);
        QWidget *favorites = p.openFavorites();
        clickLine(favorites, line);
        click(favorites, "Load");
        QCOMPARE(p.program.messages, QStringList());
        QCOMPARE(p.serverFields(), expected);
        QVERIFY(!window("Favorites"));
    }

    void deleteRemovesTheRowOfTheSelectedLine_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("linesAfter");
        QTest::addColumn<QStringList>("linesReopened");
        // Listed in id order, not by name.
        QTest::newRow("twin name, last line") << Rows{{u"dup"_s, u"10.0.0.1"_s, u"1"_s, u"p"_s},
                                                      {u"other"_s, u"10.0.0.2"_s, u"2"_s, u"p"_s},
                                                      {u"dup"_s, u"10.0.0.3"_s, u"3"_s, u"p"_s}}
                                              << 2 << QStringList{u"dup - 10.0.0.1:1"_s, u"other - 10.0.0.2:2"_s}
                                              << QStringList{u"dup - 10.0.0.1:1"_s, u"other - 10.0.0.2:2"_s};
        QTest::newRow("name with \" - \" beside the shorter name")
            << Rows{{u"Alpha"_s, u"10.0.0.8"_s, u"1"_s, u"p"_s}, {u"Alpha - Beta"_s, u"10.0.0.9"_s, u"2"_s, u"p"_s}}
            << 1 << QStringList{u"Alpha - 10.0.0.8:1"_s} << QStringList{u"Alpha - 10.0.0.8:1"_s};
    }

    void deleteRemovesTheRowOfTheSelectedLine()
    {
        QFETCH(Rows, rows);
        QFETCH(int, line);
        QFETCH(QStringList, linesAfter);
        QFETCH(QStringList, linesReopened);
        Program p(rows);
        QWidget *favorites = p.openFavorites();
        clickLine(favorites, line);
        click(favorites, "Delete");
        QCOMPARE(p.program.messages, QStringList());
        QCOMPARE(window("Favorites"), favorites);
        QCOMPARE(lines(favorites), linesAfter);
        favorites->close();
        QCOMPARE(lines(p.openFavorites()), linesReopened);
    }

    void addStoresQuotesAndReopensUncaptioned()
    {
        Program p({}, u"dutch"_s);
        const QStringList server{u"Bob's \"place\""_s, u"10.0.0.'1\""_s, u"27'960\""_s, u"pa'ss\"word"_s};
        QWidget *dialog = p.openAddDialog(server);
        QVERIFY(dialog);
        QVERIFY(!window("Favorites"));
        click(dialog, "Add");
        QCOMPARE(p.program.messages, QStringList());
        QVERIFY(!window("add_Favorites"));

        // Shown again after the add without its language texts: the Dutch ones are not applied.
        QWidget *favorites = window("Favorites");
        QVERIFY(favorites);
        QStringList captions{favorites->windowTitle()};
        for (const char *button : {"Add", "Delete", "Load"})
            captions << find<QPushButton>(favorites, button)->text();
        QCOMPARE(captions, (QStringList{u"Favorites"_s, u"Add"_s, u"Delete"_s, u"Select/OK"_s}));
        QCOMPARE(lines(favorites), QStringList{u"Bob's \"place\" - 10.0.0.'1\":27'960\""_s});
        clickLine(favorites, 0);
        click(favorites, "Load");
        QCOMPARE(p.serverFields(), server.mid(1));
    }

    void failureChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("button"); // in the add dialog (Add) or the favourites window; none: opening
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<bool>("breakStore"); // before opening, or while the window is open
        QTest::addColumn<int>("emptyField");  // of the server typed into the add dialog
        QTest::addColumn<QString>("message"); // %1: the store's path
        const auto row = [](const char *name, const char *button, const Rows &rows, bool breakStore,
                            const QString &message, int emptyField = -1) {
            QTest::newRow(name) << QByteArray(button) << rows << breakStore << emptyField << message;
        };
        const Rows home{{u"home"_s, u"10.0.0.1"_s, u"27960"_s, u"pw"_s}};
        const QString select = u"Please select a server"_s;
        const QString broken = u"The favourites store \"%1\" cannot be read: the file is not an SQLite database."_s;
        const QString empty = u"Cannot add favorite - some fields are empty"_s;
        row("select in an empty list", "Load", {}, false, select);
        row("delete in an empty list", "Delete", {}, false, select);
        row("opening, broken store", "", home, true, broken);
        row("select, broken store", "Load", home, true, broken);
        row("delete, broken store", "Delete", home, true, broken);
        row("add, broken store", "Add", home, true, broken);
        for (int i = 0;
             const char *name : {"add, empty name", "add, empty address", "add, empty port", "add, empty password"})
            row(name, "Add", home, false, empty, i++);
    }

    void failureChangesNothing()
    {
        QFETCH(QByteArray, button);
        QFETCH(Rows, rows);
        QFETCH(bool, breakStore);
        QFETCH(int, emptyField);
        QFETCH(QString, message);
        Program p(rows);
        p.main.setServerFields(Kept.at(0), Kept.at(1), Kept.at(2));
        const QString file = p.store.filePath();
        if (breakStore && button.isEmpty())
            QVERIFY(writeFile(file, NotADatabase));
        QStringList typed{u"away"_s, u"10.0.0.2"_s, u"27961"_s, u"pw2"_s};
        if (emptyField >= 0)
            typed[emptyField].clear();
        QWidget *target = button == "Add" ? p.openAddDialog(typed) : p.openFavorites();
        QVERIFY(target);
        const bool isList = button != "Add";
        if (isList && !rows.isEmpty())
            clickLine(target, 0);
        if (breakStore && !button.isEmpty())
            QVERIFY(writeFile(file, NotADatabase));
        const QByteArray before = testdata::readFile(file);
        const QStringList linesBefore = isList ? lines(target) : QStringList();

        if (!button.isEmpty())
            click(target, button.constData());
        QCOMPARE(p.program.messages, QStringList{message.replace(u"%1"_s, file)});
        QCOMPARE(window(target->objectName().toLatin1().constData()), target);
        QCOMPARE(p.serverFields(), Kept);
        QCOMPARE(testdata::readFile(file), before);
        QCOMPARE(isList ? lines(target) : QStringList(), linesBefore); // a line stays while its row does
    }
};

QTEST_MAIN(TestFavoritesWindows)
#include "tst_favoriteswindows.moc"
