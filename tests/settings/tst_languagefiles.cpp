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

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringDecoder>

#include <algorithm>
#include <functional>
#include <memory>

using namespace korvane;

namespace {

const QString TitleName = QStringLiteral("<title>");
const QStringList Languages = {QStringLiteral("english"), QStringLiteral("french"), QStringLiteral("german"),
                               QStringLiteral("dutch")};

// The readable texts of a window by control, with its title under TitleName.
using Texts = QMap<QString, QString>;

Texts textsOf(const QWidget *window)
{
    Texts texts;
    texts.insert(TitleName, window->windowTitle());
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->isWindow() || widget->objectName().isEmpty())
            continue;
        if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
            texts.insert(widget->objectName(), frame->title());
        else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts.insert(widget->objectName(), button->text());
        else if (const auto *label = qobject_cast<const QLabel *>(widget))
            texts.insert(widget->objectName(), label->text());
        else if (const auto *field = qobject_cast<const QLineEdit *>(widget))
            texts.insert(widget->objectName(), field->text());
        else if (const auto *answer = qobject_cast<const QPlainTextEdit *>(widget))
            texts.insert(widget->objectName(), answer->toPlainText());
    }
    return texts;
}

// One window as its opener creates it (with its design texts), and the step that gives it its
// language texts.
struct Opened {
    QWidget *window;
    std::function<void()> applyCaptions;
};

template <typename W, typename... Args> Opened open(MainWindow &main, Args... args)
{
    auto *window = new W(main, args...);
    return {window, [window] { window->applyCaptions(); }};
}

struct CaptionedWindow {
    const char *name; // objectName, and the prefix of its keys
    Opened (*open)(MainWindow &main);
};

// Every window that takes language texts. The main window takes its texts when first shown.
const CaptionedWindow CaptionedWindows[] = {
    {"Form1",
     [](MainWindow &main) {
         return Opened{&main, [&main] { main.show(); }};
     }},
    {"Sure", [](MainWindow &main) { return open<ConfirmDialog>(main); }},
    {"Reason", [](MainWindow &main) { return open<ReasonDialog>(main); }},
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

// Keys whose control part is not the control's name.
struct IrregularKey {
    const char *key;
    const char *control;
};
constexpr IrregularKey IrregularKeys[] = {
    {"Form1.lbllblRconPassword", "lblRconPassword"},
    {"Config", "lblConfig"},
};

QByteArray shippedFile(const QString &language)
{
    return testdata::readFile(QStringLiteral(KORVANE_LANG_DIR "/") + language + QStringLiteral(".lang"));
}

// The entry lines of a shipped file, as they stand between the CR LF line ends.
QList<QByteArray> entryLines(const QByteArray &file)
{
    QList<QByteArray> entries = file.split('\n');
    for (QByteArray &line : entries)
        line.chop(line.endsWith('\r') ? 1 : 0);
    entries.removeFirst(); // "[lang]"
    entries.removeAll(QByteArray());
    return entries;
}

QStringList englishKeys()
{
    QStringList keys;
    for (const QByteArray &line : entryLines(shippedFile(QStringLiteral("english"))))
        keys.append(QString::fromLatin1(line.left(line.indexOf('='))));
    return keys;
}

bool belongsTo(const QString &key, const QString &window)
{
    return key == window || key.startsWith(window + u'.');
}

// A window opened with its own main window (the server fields point at a silent loopback peer, so a
// window that asks the server at once asks nobody else).
class Session {
public:
    Session(TestProgram &program, const CaptionedWindow &which)
        : m_main(std::make_unique<MainWindow>(program.environment()))
    {
        m_main->setServerFields(QStringLiteral("127.0.0.1"), m_server.portText(), QStringLiteral("secret"));
        m_opened = which.open(*m_main);
    }

    Texts design() const { return textsOf(m_opened.window); }
    Texts captioned()
    {
        m_opened.applyCaptions();
        return textsOf(m_opened.window);
    }

private:
    FakeServer m_server{FakeServer::Mode::Silent};
    std::unique_ptr<MainWindow> m_main;
    Opened m_opened;
};

void setLanguage(const TestProgram &program, const QByteArray &language)
{
    QFile settings(program.settingsFile());
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("[lang]\r\nDefault=" + language + "\r\n");
}

// Which control shows which key, found with a language whose every text is "#" and its key.
QMap<QString, QString> keyedControls(TestProgram &program, const CaptionedWindow &which)
{
    QStringList entries;
    for (const QString &key : englishKeys())
        entries.append(key + QStringLiteral("=#") + key);
    program.writeLanguageFile(QStringLiteral("marker"), entries);
    setLanguage(program, "marker");
    Session session(program, which);
    QMap<QString, QString> keyed;
    const Texts texts = session.captioned();
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        if (it.value().startsWith(u'#'))
            keyed.insert(it.key(), it.value().mid(1));
    }
    return keyed;
}

} // namespace

class TestLanguageFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filesAreWellFormed_data();
    void filesAreWellFormed();
    void everyKeyReachesItsControl_data();
    void everyKeyReachesItsControl();
    void englishLooksAsDesigned_data();
    void englishLooksAsDesigned();
    void withoutLanguageFileKeyedTextsBlank_data();
    void withoutLanguageFileKeyedTextsBlank();
    void mainWindowEntries_data();
    void mainWindowEntries();

private:
    void addWindowRows();
};

void TestLanguageFiles::addWindowRows()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(CaptionedWindows)); ++i)
        QTest::newRow(CaptionedWindows[i].name) << i;
}

void TestLanguageFiles::filesAreWellFormed_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : Languages)
        QTest::newRow(qPrintable(language)) << language;
}

void TestLanguageFiles::filesAreWellFormed()
{
    QFETCH(QString, language);
    const QByteArray file = shippedFile(language);

    QVERIFY(file.startsWith("[lang]\r\n"));
    QVERIFY(file.endsWith("\r\n"));
    // Every line ends in CR LF: a lone CR or LF would break an entry in two.
    QCOMPARE(file.count('\r'), file.count('\n'));
    QCOMPARE(file.count("\r\n"), file.count('\n'));
    // Accented letters are single Windows-1252 bytes, not UTF-8 sequences, and every byte is a
    // character of that code page.
    if (std::any_of(file.cbegin(), file.cend(), [](char c) { return quint8(c) >= 0x80; })) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        [[maybe_unused]] const QString decoded = utf8(file);
        QVERIFY2(utf8.hasError(), "the file reads as UTF-8");
    }
    for (const char c : file) {
        const auto byte = quint8(c);
        QVERIFY2(byte >= 0x20 || c == '\r' || c == '\n', "control character");
        QVERIFY2(byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D,
                 "byte outside Windows-1252");
    }

    QStringList keys;
    for (const QByteArray &line : entryLines(file)) {
        const qsizetype equals = line.indexOf('=');
        QVERIFY2(equals > 0, line.constData());
        QVERIFY2(!line.startsWith('['), "a second section");
        const QByteArray text = line.mid(equals + 1);
        QVERIFY2(!text.trimmed().isEmpty(), line.constData());
        QVERIFY2(text.size() <= 254, line.constData());
        QVERIFY2(text == text.trimmed(), line.constData());
        keys.append(QString::fromLatin1(line.left(equals)));
    }
    QStringList lowerKeys;
    for (const QString &key : keys)
        lowerKeys.append(key.toLower());
    lowerKeys.removeDuplicates();
    QCOMPARE(lowerKeys.size(), keys.size());
    QCOMPARE(keys.size(), 164);
    QStringList english = englishKeys();
    keys.sort();
    english.sort();
    QCOMPARE(keys, english);
}

void TestLanguageFiles::everyKeyReachesItsControl_data()
{
    addWindowRows();
}

void TestLanguageFiles::everyKeyReachesItsControl()
{
    QFETCH(int, index);
    const CaptionedWindow &which = CaptionedWindows[index];
    TestProgram program;
    const QMap<QString, QString> keyed = keyedControls(program, which);
    if (keyed.isEmpty())
        QSKIP("this window takes no language texts yet");

    const QString window = QString::fromLatin1(which.name);
    QStringList used = keyed.values();
    used.removeDuplicates();
    QStringList expected;
    for (const QString &key : englishKeys()) {
        if (belongsTo(key, window))
            expected.append(key);
    }
    used.sort();
    expected.sort();
    QCOMPARE(used, expected);

    for (auto it = keyed.cbegin(); it != keyed.cend(); ++it) {
        const QString &control = it.key();
        const QString &key = it.value();
        QString named = key == window ? TitleName : key.mid(window.size() + 1);
        for (const IrregularKey &irregular : IrregularKeys) {
            if (key == QLatin1StringView(irregular.key) && control == QLatin1StringView(irregular.control))
                named = control;
        }
        QVERIFY2(named.compare(control, Qt::CaseInsensitive) == 0, qPrintable(key + u" -> " + control));
    }
}

void TestLanguageFiles::englishLooksAsDesigned_data()
{
    addWindowRows();
}

void TestLanguageFiles::englishLooksAsDesigned()
{
    QFETCH(int, index);
    TestProgram program;
    Session session(program, CaptionedWindows[index]);
    Texts design = session.design();
    const Texts english = session.captioned();

    // Two design texts cannot come from a one-line entry of their own: the console's start text has
    // line breaks, and the config window's label shows the entry of the window's title.
    if (design.contains(QStringLiteral("Result"))) {
        QVERIFY(!english.value(QStringLiteral("Result")).contains(u'\n'));
        design[QStringLiteral("Result")] = design.value(QStringLiteral("Result")).simplified();
    }
    if (QLatin1StringView(CaptionedWindows[index].name) == u"Config" && design.contains(QStringLiteral("lblConfig")))
        design[QStringLiteral("lblConfig")] = design.value(TitleName);
    QCOMPARE(english, design);
}

void TestLanguageFiles::withoutLanguageFileKeyedTextsBlank_data()
{
    addWindowRows();
}

void TestLanguageFiles::withoutLanguageFileKeyedTextsBlank()
{
    QFETCH(int, index);
    TestProgram program;
    const QMap<QString, QString> keyed = keyedControls(program, CaptionedWindows[index]);
    program.removeLanguageFiles();
    setLanguage(program, "english");

    Session session(program, CaptionedWindows[index]);
    Texts expected = session.design();
    for (const QString &control : keyed.keys())
        expected[control] = QString();
    QCOMPARE(session.captioned(), expected);
}

void TestLanguageFiles::mainWindowEntries_data()
{
    QTest::addColumn<QByteArray>("droppedKey");
    QTest::addColumn<QString>("addedEntry");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");

    const QString digits = QStringLiteral("0123456789").repeated(30);
    QTest::newRow("key missing") << QByteArray("Form1.btnKill") << QString() << QStringLiteral("btnKill") << QString();
    QTest::newRow("empty text") << QByteArray("Form1.btnKill") << QStringLiteral("Form1.btnKill=")
                                << QStringLiteral("btnKill") << QString();
    QTest::newRow("key in other letter case") << QByteArray("Form1.btnKill") << QStringLiteral("FORM1.BTNKILL=Stop")
                                              << QStringLiteral("btnKill") << QStringLiteral("Stop");
    QTest::newRow("300 characters shown as 254")
        << QByteArray("Form1.btnKill") << QStringLiteral("Form1.btnKill=") + digits << QStringLiteral("btnKill")
        << digits.left(254);
    QTest::newRow("password label keyed by its own name")
        << QByteArray("Form1.lbllblRconPassword") << QStringLiteral("Form1.lblRconPassword=Password:")
        << QStringLiteral("lblRconPassword") << QString();
    QTest::newRow("hint text of a field") << QByteArray("Form1.edtSlot1") << QStringLiteral("Form1.edtSlot1=Slot")
                                          << QStringLiteral("edtSlot1") << QStringLiteral("Slot");
    QTest::newRow("console start text") << QByteArray("Form1.Result") << QStringLiteral("Form1.Result=Hello")
                                        << QStringLiteral("Result") << QStringLiteral("Hello");
}

void TestLanguageFiles::mainWindowEntries()
{
    QFETCH(QByteArray, droppedKey);
    QFETCH(QString, addedEntry);
    QFETCH(QString, control);
    QFETCH(QString, shown);

    QStringList entries;
    for (const QByteArray &line : entryLines(shippedFile(QStringLiteral("english")))) {
        if (!line.startsWith(QByteArray(droppedKey + '=')))
            entries.append(QString::fromLatin1(line));
    }
    if (!addedEntry.isEmpty())
        entries.append(addedEntry);
    TestProgram program;
    program.writeLanguageFile(QStringLiteral("english"), entries);

    Session session(program, CaptionedWindows[0]);
    Texts expected = session.design();
    expected[QStringLiteral("Result")] = expected.value(QStringLiteral("Result")).simplified();
    expected[control] = shown;
    // Everything else keeps its English text.
    QCOMPARE(session.captioned(), expected);
}

QTEST_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
