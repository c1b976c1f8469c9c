#include "console/confirmdialog.h"
#include "console/mainwindow.h"
#include "console/reasondialog.h"
#include "fakeserver.h"
#include "favorites/addfavoritedialog.h"
#include "favorites/favoriteswindow.h"
#include "info/cheaterswindow.h"
#include "info/configwindow.h"
#include "info/playerlistwindow.h"
#include "match/funwindow.h"
#include "match/gameplaywindow.h"
#include "settings/aboutwindow.h"
#include "testenv.h"

#include <functional>

using namespace korvane;
using namespace korvane::console;
using namespace korvane::favorites;
using namespace korvane::info;
using namespace korvane::match;
using namespace korvane::settings;
using namespace Qt::StringLiterals;

namespace {

using Texts = QMap<QString, QString>;

// A window as its opener creates it (with its design texts), and the step that gives it its
// language texts.
struct Opened {
    QWidget *window;
    std::function<void()> applyCaptions;
};

template <typename W, typename... Args> Opened open(MainWindow &main, Args... args)
{
    auto *window = new W(ui::Context{main.link(), main.environment()}, &main, args...);
    return {window, [window] { window->applyCaptions(); }};
}

// Every window that takes language texts, by objectName (the prefix of its keys). The main window
// takes its texts when first shown.
const struct {
    const char *name;
    Opened (*open)(MainWindow &main);
} Windows[] = {
    {"Form1",
     [](MainWindow &main) {
         return Opened{&main, [&main] { main.show(); }};
     }},
    {"Sure", [](MainWindow &main) { return open<ConfirmDialog>(main, [] { return std::optional<QString>(); }); }},
    {"Reason", [](MainWindow &main) { return open<ReasonDialog>(main, [](const char *) { return QString(); }); }},
    {"Other", [](MainWindow &main) { return open<GamePlayWindow>(main); }},
    {"fun", [](MainWindow &main) { return open<FunWindow>(main); }},
    {"NormalPlayers", [](MainWindow &main) { return open<PlayerListWindow>(main, PlayerList::Normal); }},
    {"PBPlayers", [](MainWindow &main) { return open<PlayerListWindow>(main, PlayerList::PunkBuster); }},
    {"Cheaters", [](MainWindow &main) { return open<CheatersWindow>(main); }},
    {"Config", [](MainWindow &main) { return open<ConfigWindow>(main); }},
    {"Favorites", [](MainWindow &main) { return open<FavoritesWindow>(main); }},
    {"add_Favorites", [](MainWindow &main) { return open<AddFavoriteDialog>(main); }},
    {"About", [](MainWindow &main) { return open<AboutWindow>(main); }},
};

QByteArray shippedFile(const QString &language)
{
    return testdata::readFile(QStringLiteral(KORVANE_LANG_DIR "/") + language + u".lang"_s);
}

// The entry lines of a shipped file, between its CR LF line ends.
QList<QByteArray> entryLines(const QString &language)
{
    QList<QByteArray> lines = shippedFile(language).replace('\r', "").split('\n');
    lines.removeFirst(); // "[lang]"
    lines.removeAll(QByteArray());
    return lines;
}

QStringList sortedKeysOf(const QString &language)
{
    QStringList keys;
    for (const QByteArray &line : entryLines(language))
        keys.append(QString::fromLatin1(line.left(line.indexOf('='))));
    keys.sort();
    return keys;
}

// A window opened with its own main window (the server fields point at a silent loopback peer, so a
// window that asks the server at once asks nobody else).
struct Session {
    Session(TestProgram &program, int index)
        : main(program.environment())
    {
        main.setServerFields(u"127.0.0.1"_s, server.portText(), u"secret"_s);
        const Opened opened = Windows[index].open(main);
        design = readableTexts(opened.window);
        opened.applyCaptions();
        captioned = readableTexts(opened.window);
    }

    FakeServer server{FakeServer::Mode::Silent};
    MainWindow main;
    Texts design;
    Texts captioned;
};

} // namespace

class TestLanguageFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filesAreWellFormed_data();
    void filesAreWellFormed();
    void everyWindowTakesItsTexts_data();
    void everyWindowTakesItsTexts();
    void mainWindowEntries_data();
    void mainWindowEntries();
};

void TestLanguageFiles::filesAreWellFormed_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : {u"english"_s, u"french"_s, u"german"_s, u"dutch"_s})
        QTest::newRow(qPrintable(language)) << language;
}

void TestLanguageFiles::filesAreWellFormed()
{
    QFETCH(QString, language);
    const QByteArray file = shippedFile(language);

    QVERIFY(file.startsWith("[lang]\r\n") && file.endsWith("\r\n"));
    // Every line ends in CR LF: a lone CR or LF would break an entry in two.
    QCOMPARE(file.count("\r\n"), file.count('\n'));
    QCOMPARE(file.count("\r\n"), file.count('\r'));
    // Accented letters are single Windows-1252 bytes, not UTF-8 sequences, and every byte is a
    // character of that code page.
    for (qsizetype i = 0; i < file.size(); ++i) {
        const auto byte = quint8(file[i]);
        QVERIFY2(byte >= 0x20 || byte == '\r' || byte == '\n', "control character");
        QVERIFY2(!QByteArrayView("\x81\x8D\x8F\x90\x9D").contains(char(byte)), "byte outside Windows-1252");
        QVERIFY2(byte < 0xC2 || byte > 0xDF || (quint8(file.at(i + 1)) & 0xC0) != 0x80, "UTF-8 sequence");
    }

    for (const QByteArray &line : entryLines(language)) {
        const qsizetype equals = line.indexOf('=');
        const QByteArray text = line.mid(equals + 1);
        QVERIFY2(equals > 0 && !line.startsWith('['), line.constData());
        QVERIFY2(!text.isEmpty() && text.size() <= 254 && text == text.trimmed(), line.constData());
    }
    const QStringList keys = sortedKeysOf(language);
    QCOMPARE(keys.join(u'\n').toLower().split(u'\n').removeDuplicates(), 0); // no key twice, in any case
    QVERIFY(keys.size() > 100);
    QCOMPARE(keys, sortedKeysOf(u"english"_s));
}

void TestLanguageFiles::everyWindowTakesItsTexts_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(Windows)); ++i)
        QTest::newRow(Windows[i].name) << i;
}

void TestLanguageFiles::everyWindowTakesItsTexts()
{
    QFETCH(int, index);
    const QString window = QString::fromLatin1(Windows[index].name);

    // Which control shows which key, found with a language whose every text is "#" and its key.
    TestProgram program(u"marker"_s);
    QStringList entries;
    QStringList expected;
    for (const QString &key : sortedKeysOf(u"english"_s)) {
        entries.append(key + u"=#"_s + key);
        if (key == window || key.startsWith(window + u'.'))
            expected.append(key);
    }
    program.writeLanguageFile(u"marker"_s, entries);
    Texts keyed; // control -> key
    const Texts marked = Session(program, index).captioned;
    for (const auto &[control, text] : marked.asKeyValueRange()) {
        if (text.startsWith(u'#'))
            keyed.insert(control, text.mid(1));
    }
    QStringList used = keyed.values();
    used.removeDuplicates();
    used.sort();
    QCOMPARE(used, expected);

    // Under English the window looks as designed, apart from two texts that cannot come from a
    // one-line entry of their own: the console's start text has line breaks, and the config window's
    // label shows the entry of the window's title.
    TestProgram shipped;
    Session english(shipped, index);
    Texts design = english.design;
    if (design.contains(u"Result"_s))
        design[u"Result"_s] = design.value(u"Result"_s).simplified();
    if (design.contains(u"lblConfig"_s))
        design[u"lblConfig"_s] = design.value(u"<title>"_s);
    QCOMPARE(english.captioned, design);

    // Without any language file every keyed text is blank and the rest keeps its design.
    program.removeLanguageFiles();
    Session none(program, index);
    Texts blanked = none.design;
    for (const QString &control : keyed.keys())
        blanked[control] = QString();
    QCOMPARE(none.captioned, blanked);
}

void TestLanguageFiles::mainWindowEntries_data()
{
    QTest::addColumn<QByteArray>("droppedKey"); // "key=": the line dropped from the English file
    QTest::addColumn<QString>("addedEntry");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");

    const QString digits = u"0123456789"_s.repeated(30);
    QTest::newRow("key missing") << "Form1.btnKill="_ba << QString() << u"btnKill"_s << QString();
    QTest::newRow("300 characters shown as 254")
        << "Form1.btnKill="_ba << u"Form1.btnKill="_s + digits << u"btnKill"_s << digits.left(254);
    QTest::newRow("password label keyed by lbllblRconPassword, not its own name")
        << "Form1.lbllblRconPassword="_ba << u"Form1.lblRconPassword=Password:"_s << u"lblRconPassword"_s << QString();
}

void TestLanguageFiles::mainWindowEntries()
{
    QFETCH(QByteArray, droppedKey);
    QFETCH(QString, addedEntry);
    QFETCH(QString, control);
    QFETCH(QString, shown);

    QStringList entries;
    for (const QByteArray &line : entryLines(u"english"_s)) {
        if (!line.startsWith(droppedKey))
            entries.append(QString::fromLatin1(line));
    }
    if (!addedEntry.isEmpty())
        entries.append(addedEntry);
    TestProgram program;
    program.writeLanguageFile(u"english"_s, entries);

    Session session(program, 0);
    Texts expected = session.design;
    expected[u"Result"_s] = expected.value(u"Result"_s).simplified();
    expected[control] = shown;
    // Everything else keeps its English text.
    QCOMPARE(session.captioned, expected);
}

QTEST_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
