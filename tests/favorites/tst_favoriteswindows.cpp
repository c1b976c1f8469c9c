#include "console/mainwindow.h"
#include "favorites/favoritesstore.h"
#include "testenv.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

using korvane::FavoriteServer;
using korvane::FavoritesStore;
using korvane::MainWindow;
using namespace Qt::StringLiterals;

namespace {

using Rows = QList<QStringList>; // Name, IP, Port, RconPassword

const QByteArray NotADatabase = "Name,IP,Port\r\nhome,10.0.0.1,27960\r\n";
const QString PleaseSelect = QStringLiteral("Please select a server");
const QString FieldsEmpty = QStringLiteral("Cannot add favorite - some fields are empty");

void seed(const MainWindow &main, const Rows &rows)
{
    FavoritesStore store(main.environment().favoritesFile);
    for (const QStringList &row : rows)
        QVERIFY2(store.insert(row.at(0), row.at(1), row.at(2), row.at(3)), qPrintable(store.lastError()));
}

Rows stored(const MainWindow &main)
{
    Rows rows;
    for (const FavoriteServer &server :
         FavoritesStore(main.environment().favoritesFile).listAll().value_or(QList<FavoriteServer>()))
        rows.append({server.name, server.ip, server.port, server.rconPassword});
    return rows;
}

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

QStringList serverFields(const MainWindow &main)
{
    return {main.fieldText("edtIP"), main.fieldText("edtPort"), main.fieldText("edtrconpassword")};
}

void setText(const QWidget *root, const char *name, const QString &text)
{
    find<QLineEdit>(root, name)->setText(text);
}

QStringList captions(const QWidget *window, std::initializer_list<const char *> buttons)
{
    QStringList texts{window->windowTitle()};
    for (const char *button : buttons)
        texts.append(find<QPushButton>(window, button)->text());
    return texts;
}

// Favorites window, then its Add: the add dialog, filled in.
QWidget *openAddDialog(const MainWindow &main, const QStringList &server)
{
    click(&main, "Command1");
    click(window("Favorites"), "Add");
    QWidget *dialog = window("add_Favorites");
    if (dialog) {
        int i = 0;
        for (const char *field : {"ServerName", "IP", "Port", "RconPassword"})
            setText(dialog, field, server.value(i++));
    }
    return dialog;
}

} // namespace

class TestFavoritesWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingStoreIsCreatedEmpty_data();
    void missingStoreIsCreatedEmpty();
    void linesInIdOrderWhateverTheNames();
    void selectFillsTheMainWindow_data();
    void selectFillsTheMainWindow();
    void selectOfANameWithoutRowChangesNothing();
    void deleteRemovesRowsOfTheNameButOnlyTheSelectedLine_data();
    void deleteRemovesRowsOfTheNameButOnlyTheSelectedLine();
    void addStoresExactlyAndReopensUncaptioned();
    void addWithAnEmptyFieldStoresNothing_data();
    void addWithAnEmptyFieldStoresNothing();
    void addFindsTheFavoritesWindowOpenAgain();
    void reopeningKeepsTheListAndRecaptions();
    void unreadableStoreOnOpening();
    void unreadableStoreLosesNothing_data();
    void unreadableStoreLosesNothing();
};

void TestFavoritesWindows::missingStoreIsCreatedEmpty_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("select") << QByteArray("Load");
    QTest::newRow("delete") << QByteArray("Delete");
}

void TestFavoritesWindows::missingStoreIsCreatedEmpty()
{
    QFETCH(QByteArray, button);
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    const QString file = main.environment().favoritesFile;
    QVERIFY(!QFile::exists(file));
    click(&main, "Command1");
    QWidget *favorites = window("Favorites");
    QVERIFY(favorites);
    // Owner, group and others; the "user" bits only repeat the owner's for the test's own user.
    QCOMPARE(QFile::permissions(file) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(lines(favorites), QStringList());
    click(favorites, button.constData());
    QCOMPARE(program.messages, QStringList{PleaseSelect});
    QCOMPARE(window("Favorites"), favorites);
}

void TestFavoritesWindows::linesInIdOrderWhateverTheNames()
{
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    seed(main, {{u"zulu"_s, u"10.0.0.3"_s, u"27960"_s, u"z"_s},
                {u"Alpha"_s, u"alpha.example.org"_s, u"27961"_s, u"a"_s},
                {u"mike"_s, u"10.0.0.1"_s, u"port?"_s, u"m"_s}});
    click(&main, "Command1");
    QCOMPARE(lines(window("Favorites")), (QStringList{u"zulu - 10.0.0.3:27960"_s, u"Alpha - alpha.example.org:27961"_s,
                                                      u"mike - 10.0.0.1:port?"_s}));
}

void TestFavoritesWindows::selectFillsTheMainWindow_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("expected");
    const Rows duplicates{{u"dup"_s, u"10.0.0.1"_s, u"1111"_s, u"first"_s},
                          {u"dup"_s, u"10.0.0.2"_s, u"2222"_s, u"second"_s}};
    QTest::newRow("second of two") << Rows{{u"a"_s, u"10.0.0.1"_s, u"1"_s, u"p1"_s},
                                           {u"b"_s, u"10.0.0.2"_s, u"2"_s, u"p2"_s}}
                                   << 1 << QStringList{u"10.0.0.2"_s, u"2"_s, u"p2"_s};
    QTest::newRow("duplicate name, first line") << duplicates << 0 << QStringList{u"10.0.0.1"_s, u"1111"_s, u"first"_s};
    QTest::newRow("duplicate name, second line")
        << duplicates << 1 << QStringList{u"10.0.0.1"_s, u"1111"_s, u"first"_s};
    QTest::newRow("name with dash finds the shorter name")
        << Rows{{u"Clan - Public"_s, u"10.0.0.9"_s, u"27960"_s, u"long"_s},
                {u"Clan"_s, u"10.0.0.8"_s, u"27961"_s, u"short"_s}}
        << 0 << QStringList{u"10.0.0.8"_s, u"27961"_s, u"short"_s};
}

void TestFavoritesWindows::selectFillsTheMainWindow()
{
    QFETCH(Rows, rows);
    QFETCH(int, line);
    QFETCH(QStringList, expected);
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    seed(main, rows);
    QStringList changed;
    for (const char *field : {"edtIP", "edtPort", "edtrconpassword"})
        connect(find<QLineEdit>(&main, field), &QLineEdit::textChanged, this,
                [&changed, field] { changed << QString::fromLatin1(field); });
    click(&main, "Command1");
    QWidget *favorites = window("Favorites");
    clickLine(favorites, line);
    click(favorites, "Load");
    QCOMPARE(program.messages, QStringList());
    QCOMPARE(serverFields(main), expected);
    QCOMPARE(changed, (QStringList{u"edtIP"_s, u"edtPort"_s, u"edtrconpassword"_s}));
    QVERIFY(!window("Favorites"));
}

void TestFavoritesWindows::selectOfANameWithoutRowChangesNothing()
{
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    seed(main, {{u"Clan - Public"_s, u"10.0.0.9"_s, u"27960"_s, u"long"_s}});
    main.setServerFields(QStringLiteral("keep.example.org"), QStringLiteral("27000"), QStringLiteral("keep"));
    click(&main, "Command1");
    QWidget *favorites = window("Favorites");
    clickLine(favorites, 0);
    click(favorites, "Load");
    QCOMPARE(program.messages.size(), 1);
    QVERIFY2(program.messages.at(0).contains(QStringLiteral("\"Clan\"")), qPrintable(program.messages.at(0)));
    QCOMPARE(serverFields(main), (QStringList{u"keep.example.org"_s, u"27000"_s, u"keep"_s}));
    QCOMPARE(window("Favorites"), favorites);
}

void TestFavoritesWindows::deleteRemovesRowsOfTheNameButOnlyTheSelectedLine_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("linesAfter");
    QTest::addColumn<QStringList>("linesReopened");
    const Rows duplicates{{u"dup"_s, u"10.0.0.1"_s, u"1"_s, u"p"_s},
                          {u"other"_s, u"10.0.0.2"_s, u"2"_s, u"p"_s},
                          {u"dup"_s, u"10.0.0.3"_s, u"3"_s, u"p"_s}};
    QTest::newRow("duplicate name, last line")
        << duplicates << 2 << QStringList{u"dup - 10.0.0.1:1"_s, u"other - 10.0.0.2:2"_s}
        << QStringList{u"other - 10.0.0.2:2"_s};
    QTest::newRow("name with dash and no shorter row")
        << Rows{{u"Clan - Public"_s, u"10.0.0.9"_s, u"27960"_s, u"p"_s}} << 0 << QStringList()
        << QStringList{u"Clan - Public - 10.0.0.9:27960"_s};
}

void TestFavoritesWindows::deleteRemovesRowsOfTheNameButOnlyTheSelectedLine()
{
    QFETCH(Rows, rows);
    QFETCH(int, line);
    QFETCH(QStringList, linesAfter);
    QFETCH(QStringList, linesReopened);
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    seed(main, rows);
    click(&main, "Command1");
    QWidget *favorites = window("Favorites");
    clickLine(favorites, line);
    click(favorites, "Delete");
    QCOMPARE(program.messages, QStringList());
    QCOMPARE(window("Favorites"), favorites);
    QCOMPARE(lines(favorites), linesAfter);
    favorites->close();
    click(&main, "Command1");
    QCOMPARE(lines(window("Favorites")), linesReopened);
}

void TestFavoritesWindows::addStoresExactlyAndReopensUncaptioned()
{
    TestProgram program(QStringLiteral("dutch"));
    MainWindow main(program.environment());
    main.show();
    const QStringList server{u"Bob's place"_s, u"10.0.0.'1"_s, u"27'960"_s, u"pa'ss\"word"_s};
    QWidget *dialog = openAddDialog(main, server);
    QVERIFY(dialog);
    QVERIFY(!window("Favorites"));
    QCOMPARE(find<QLineEdit>(dialog, "RconPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Server toevoegen"));
    QCOMPARE(find<QPushButton>(dialog, "Add")->text(), QStringLiteral("Toevoegen"));
    click(dialog, "Add");
    QCOMPARE(program.messages, QStringList());
    QVERIFY(!window("add_Favorites"));
    QCOMPARE(stored(main), Rows{server});
    QWidget *favorites = window("Favorites");
    QVERIFY(favorites);
    QCOMPARE(captions(favorites, {"Add", "Delete", "Load"}),
             (QStringList{u"Favorites"_s, u"Add"_s, u"Delete"_s, u"Select/OK"_s}));
    QCOMPARE(lines(favorites), QStringList{u"Bob's place - 10.0.0.'1:27'960"_s});
    clickLine(favorites, 0);
    click(favorites, "Load");
    QCOMPARE(serverFields(main), server.mid(1));
}

void TestFavoritesWindows::addWithAnEmptyFieldStoresNothing_data()
{
    QTest::addColumn<QStringList>("server");
    QTest::newRow("name") << QStringList{u""_s, u"10.0.0.1"_s, u"27960"_s, u"pw"_s};
    QTest::newRow("address") << QStringList{u"home"_s, u""_s, u"27960"_s, u"pw"_s};
    QTest::newRow("port") << QStringList{u"home"_s, u"10.0.0.1"_s, u""_s, u"pw"_s};
    QTest::newRow("password") << QStringList{u"home"_s, u"10.0.0.1"_s, u"27960"_s, u""_s};
}

void TestFavoritesWindows::addWithAnEmptyFieldStoresNothing()
{
    QFETCH(QStringList, server);
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    QWidget *dialog = openAddDialog(main, server);
    click(dialog, "Add");
    QCOMPARE(program.messages, QStringList{FieldsEmpty});
    QCOMPARE(window("add_Favorites"), dialog);
    QCOMPARE(find<QLineEdit>(dialog, "IP")->text(), server.at(1));
    QVERIFY(!window("Favorites"));
    QCOMPARE(stored(main), Rows());
}

void TestFavoritesWindows::addFindsTheFavoritesWindowOpenAgain()
{
    TestProgram program(QStringLiteral("dutch"));
    MainWindow main(program.environment());
    main.show();
    QWidget *dialog = openAddDialog(main, {u"home"_s, u"10.0.0.1"_s, u"27960"_s, u"pw"_s});
    click(&main, "Command1");
    const QPointer<QWidget> favorites = window("Favorites");
    click(dialog, "Add");
    QCOMPARE(stored(main).size(), 1);
    QCOMPARE(window("Favorites"), favorites.data());
    QCOMPARE(lines(favorites), QStringList());
    QCOMPARE(favorites->windowTitle(), QStringLiteral("Favorieten"));
}

void TestFavoritesWindows::reopeningKeepsTheListAndRecaptions()
{
    TestProgram program(QStringLiteral("dutch"));
    MainWindow main(program.environment());
    main.show();
    seed(main, {{u"home"_s, u"10.0.0.1"_s, u"27960"_s, u"pw"_s}});
    click(&main, "Command1");
    QWidget *favorites = window("Favorites");
    QCOMPARE(captions(favorites, {"Add", "Load", "Delete"}),
             (QStringList{u"Favorieten"_s, u"Toevoegen"_s, u"Selecteren/OK"_s, u"Verwijderen"_s}));
    seed(main, {{u"away"_s, u"10.0.0.2"_s, u"27960"_s, u"pw"_s}});
    program.writeLanguageFile(QStringLiteral("dutch"), {QStringLiteral("Favorites.Add=Nieuw")});
    click(&main, "Command1");
    QCOMPARE(window("Favorites"), favorites);
    QCOMPARE(lines(favorites), QStringList{u"home - 10.0.0.1:27960"_s});
    QCOMPARE(captions(favorites, {"Add", "Load", "Delete"}), (QStringList{u""_s, u"Nieuw"_s, u""_s, u""_s}));
}

void TestFavoritesWindows::unreadableStoreOnOpening()
{
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    const QString file = main.environment().favoritesFile;
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(NotADatabase) == NotADatabase.size());
    }
    click(&main, "Command1");
    QCOMPARE(program.messages.size(), 1);
    QVERIFY2(program.messages.at(0).contains(QStringLiteral("not an SQLite database")),
             qPrintable(program.messages.at(0)));
    QVERIFY(window("Favorites"));
    QCOMPARE(lines(window("Favorites")), QStringList());
    QCOMPARE(testdata::readFile(file), NotADatabase);
}

void TestFavoritesWindows::unreadableStoreLosesNothing_data()
{
    QTest::addColumn<QByteArray>("windowName");
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("select") << QByteArray("Favorites") << QByteArray("Load");
    QTest::newRow("delete") << QByteArray("Favorites") << QByteArray("Delete");
    QTest::newRow("add") << QByteArray("add_Favorites") << QByteArray("Add");
}

void TestFavoritesWindows::unreadableStoreLosesNothing()
{
    QFETCH(QByteArray, windowName);
    QFETCH(QByteArray, button);
    TestProgram program;
    MainWindow main(program.environment());
    main.show();
    seed(main, {{u"home"_s, u"10.0.0.1"_s, u"27960"_s, u"pw"_s}});
    main.setServerFields(QStringLiteral("keep.example.org"), QStringLiteral("27000"), QStringLiteral("keep"));
    if (windowName == "add_Favorites") {
        openAddDialog(main, {u"away"_s, u"10.0.0.2"_s, u"27961"_s, u"pw2"_s});
    } else {
        click(&main, "Command1");
        clickLine(window("Favorites"), 0);
    }
    QWidget *target = window(windowName.constData());
    QVERIFY(target);
    // The store breaks while the window is open.
    const QString file = main.environment().favoritesFile;
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(NotADatabase) == NotADatabase.size());
    }
    click(target, button.constData());
    QCOMPARE(program.messages.size(), 1);
    QVERIFY2(program.messages.at(0).contains(QStringLiteral("not an SQLite database")),
             qPrintable(program.messages.at(0)));
    QCOMPARE(window(windowName.constData()), target);
    QCOMPARE(serverFields(main), (QStringList{u"keep.example.org"_s, u"27000"_s, u"keep"_s}));
    QCOMPARE(testdata::readFile(file), NotADatabase);
    if (auto *list = find<QListWidget>(target, "List1"))
        QCOMPARE(list->count(), 1);
    else
        QCOMPARE(find<QLineEdit>(target, "ServerName")->text(), QStringLiteral("away"));
}

QTEST_MAIN(TestFavoritesWindows)
#include "tst_favoriteswindows.moc"
