// What every window shares, checked on each as a user opens it from a connected console.

#include "testenv.h"

#include <QPointer>

namespace {

// Every window, and the clicks that open it from a connected console.
// clang-format off
struct Click { const char *window = nullptr, *control = nullptr; };
constexpr struct Window {
    const char *name;
    Click first = {}, then = {};
} Windows[] = {
    {.name = "Form1"}, {.name = "Sure", .first = {"Form1", "btnKill"}},
    {.name = "Reason", .first = {"Form1", "btnPBKickNum"}}, {.name = "Other", .first = {"Form1", "btnOther"}},
    {.name = "fun", .first = {"Form1", "btnOther"}, .then = {"Other", "btnfuncommands"}},
    {.name = "NormalPlayers", .first = {"Form1", "btnNormalPopup"}},
    {.name = "PBPlayers", .first = {"Form1", "btnPBPopup"}},
    {.name = "Cheaters", .first = {"Form1", "btnCheaters"}}, {.name = "Config", .first = {"Frame2", "btnConfig"}},
    {.name = "add_Favorites", .first = {"Form1", "Command1"}, .then = {"Favorites", "Add"}},
    {.name = "Favorites", .first = {"Form1", "Command1"}}, {.name = "About", .first = {"Form1", "Picture1"}}};
// clang-format on

QWidget *open(const ConnectedConsole &console, const Window &design)
{
    for (const Click &step : {design.first, design.then})
        if (step.window)
            console.click(step.window, step.control);
    return window(design.name);
}

QStringList keysOf(const QByteArray &file)
{
    QStringList keys;
    for (const QByteArray &line : file.split('\n'))
        if (line.indexOf('=') > 0)
            keys.append(QString::fromLatin1(line.left(line.indexOf('='))));
    keys.sort();
    return keys;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With every text "#" and its key, each window shows exactly its own keys, and every key has a window.
    void everyKeyShownByItsWindow()
    {
        QStringList unused = keysOf(testdata::bytesOrMissing(QString::fromUtf8(KORVANE_LANG_DIR "/english.lang"))),
                    problems;
        ConnectedConsole console(u"marker"_s, [&unused](korvane::ui::Environment &environment) {
            QString marked = u"[lang]\r\n"_s;
            for (const QString &key : unused)
                marked += key + u"=#"_s + key + u"\r\n"_s;
            testdata::writeBytes(environment.settings.languageFile(u"marker"_s), marked.toLatin1());
        });
        for (const Window &design : Windows) {
            const QString name = QString::fromLatin1(design.name);
            QStringList shown, own = unused;
            for (const QString &text : readableTexts(open(console, design))) {
                const QString key = text.mid(1).section(u'\r', 0, 0); // the log goes on after its start text
                if (text.startsWith(u'#') && !shown.contains(key))
                    shown.append(key);
            }
            own.removeIf([&](const QString &key) { return key != name && !key.startsWith(name + u'.'); });
            unused.removeIf([&](const QString &key) { return own.contains(key); });
            shown.sort();
            if (shown != own)
                problems.append(name + u" shows "_s + shown.join(u' ') + u" instead of "_s + own.join(u' '));
        }
        QCOMPARE(problems + unused, QStringList());
    }

    // Opening an open window again, or Enter and Escape in it (no button is a default or cancel button), neither
    // closes it nor sends anything; a disconnect closes all but the favourites and About windows.
    void windowsStayUntilDisconnect()
    {
        ConnectedConsole console;
        QList<QPointer<QWidget>> opened;
        for (const Window &design : Windows)
            opened.append(open(console, design));
        console.sent();
        console.server.clear();
        for (int i = 0; i < int(std::size(Windows)); ++i) {
            const char *name = Windows[i].name; // the add dialog's opener is a window it closes
            QWidget *shown = qstrcmp(name, "add_Favorites") != 0 ? open(console, Windows[i]) : window(name);
            QCOMPARE(shown, opened[i].data());
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown, key);
            QCOMPARE(window(name), shown);
        }
        QCOMPARE(console.sent(), QList<QByteArray>());
        console.click("Form1", "btnDisconnect");
        QStringList shown;
        for (const Window &design : Windows)
            if (window(design.name))
                shown.append(QString::fromLatin1(design.name));
        QCOMPARE(shown, (QStringList{u"Form1"_s, u"add_Favorites"_s, u"Favorites"_s, u"About"_s}));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
