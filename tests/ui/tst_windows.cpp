// What every window shares, checked on each as a user opens it from a connected console.

#include "testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

// The title under english.lang, the size where the design gives one (the others are fixed at their own), the
// clicks that open the window, and its focus order where the design gives one.
// clang-format off
constexpr struct Design {
    const char *name, *title;
    int width, height;
    const char *path, *focus;
} Windows[] = {
    {"Form1", "Korvane", 817, 545, "", ""},
    {"Sure", "Confirm Action", 434, 142, "Form1/btnKill", "btnSureOK btnSureCancel Picture1"},
    {"Reason", "Kick/Ban Reason", 429, 167, "Form1/btnPBKickNum", "btnCancel btnProceed edtReason edtLength Picture1"},
    {"Other", "Game play Commands", 0, 0, "Form1/btnOther", ""},
    {"fun", "Fun Commands", 0, 0, "Form1/btnOther|Other/btnfuncommands", ""},
    {"NormalPlayers", "Normal Players List Popup", 641, 258, "Form1/btnNormalPopup", ""},
    {"PBPlayers", "PunkBuster Players List Popup", 641, 258, "Form1/btnPBPopup", ""},
    {"Cheaters", "ETPro \"/cheaters\" List with ETPro GUIDs", 641, 258, "Form1/btnCheaters", ""},
    {"Config", "Select ETPro .config File", 641, 258, "Frame2/btnConfig", ""},
    {"add_Favorites", "Add Server", 0, 0, "Form1/Command1|Favorites/Add", ""},
    {"Favorites", "Favorites", 0, 0, "Form1/Command1", ""},
    {"About", "About Korvane", 0, 0, "Form1/Picture1", ""}};
// clang-format on

// Where a window or its controls depart from the shared look: navy background, fonts and text colours per kind.
QStringList lookFaults(const QWidget *window)
{
    // clang-format off
    static const QStringList shared = {
        u"QGroupBox MS Sans Serif 8.25 bold #c0c000"_s, u"QLabel Arial 8.25 #ffffff"_s, u"QPushButton Arial 8.25"_s,
        u"QLabel MS Sans Serif 13.5 underline #ffffff"_s, u"QPushButton Arial 8.25 bold"_s, u"QLineEdit Arial 8.25"_s,
        u"QComboBox Arial 8.25"_s, u"QListWidget Arial 8.25"_s, u"QCheckBox Arial 8.25 #ffffff"_s, u"picture"_s,
        u"QRadioButton Arial 8.25 #ffffff"_s, u"QProgressBar"_s,
        u"QPlainTextEdit Verdana 8.25 bold #c0c0c0 on #000000, read-only, scroll bar"_s};
    // clang-format on
    QStringList faults;
    if (window->palette().color(QPalette::Window) != QColor(0, 0, 64) || !window->autoFillBackground())
        faults.append(u"the window's background"_s);
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        const QFont font = w->font();
        QString look = QString::fromLatin1(w->metaObject()->className()) + u' ' + font.family() + u' ' +
                       QString::number(font.pointSizeF()) + (font.bold() ? u" bold"_s : u""_s) +
                       (font.underline() ? u" underline"_s : u""_s);
        const auto *label = qobject_cast<const QLabel *>(w);
        const auto *field = qobject_cast<const QPlainTextEdit *>(w);
        if (qobject_cast<const QProgressBar *>(w) || (label && !label->pixmap().isNull()))
            look = label ? u"picture"_s : u"QProgressBar"_s;
        else if (field)
            look += u' ' + field->palette().color(QPalette::Text).name() + u" on "_s +
                    field->palette().color(QPalette::Base).name() + (field->isReadOnly() ? u", read-only"_s : u""_s) +
                    (field->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ? u", scroll bar"_s : u""_s);
        else if (label || qobject_cast<const QGroupBox *>(w) || qobject_cast<const QCheckBox *>(w) ||
                 qobject_cast<const QRadioButton *>(w))
            look += u' ' + w->palette().color(QPalette::Active, QPalette::WindowText).name();
        if (w->window() == window && !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_") &&
            !shared.contains(look))
            faults.append(w->objectName() + u": "_s + look);
    }
    return faults;
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

// The width a one-line caption takes, with the room the style needs around its text; 0 for none.
int neededWidth(const QWidget *w, const QString &text)
{
    const auto metric = [w](QStyle::PixelMetric m) { return w->style()->pixelMetric(m, nullptr, w); };
    const auto *label = qobject_cast<const QLabel *>(w);
    const int room = qobject_cast<const QGroupBox *>(w)     ? 10 // the title's inset
                     : qobject_cast<const QPushButton *>(w) ? 8
                     : qobject_cast<const QLineEdit *>(w)   ? 6
                     : qobject_cast<const QCheckBox *>(w)
                         ? metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing)
                     : qobject_cast<const QRadioButton *>(w)
                         ? metric(QStyle::PM_ExclusiveIndicatorWidth) + metric(QStyle::PM_RadioButtonLabelSpacing)
                     : label && !label->wordWrap() ? 0
                                                   : -1;
    return room < 0 || w->parentWidget()->inherits("QComboBox") || !w->isVisibleTo(w->window())
               ? 0
               : w->fontMetrics().horizontalAdvance(text) + room;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
#ifdef Q_OS_WIN
    // Offscreen on Windows, FreeType draws at full hinting and rounds every letter up to whole pixels, which
    // neither the windows platform (GDI) nor a Linux desktop does: captions are measured as those draw them.
    void initTestCase()
    {
        QFont font = QApplication::font();
        font.setHintingPreference(QFont::PreferVerticalHinting);
        QApplication::setFont(font);
    }
#endif
    void shared_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Windows)); ++i)
            QTest::addRow("%s by %s", Windows[i].name, *Windows[i].path ? Windows[i].path : "starting") << i;
    }

    // Enter and Escape neither close a window nor send anything: no button is a default or cancel button.
    void shared()
    {
        QFETCH(int, row);
        const Design &design = Windows[row];
        ConnectedConsole console;
        QCOMPARE(console.play(QString::fromLatin1(design.path)), QString());
        QWidget *opened = window(design.name);
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), QString::fromLatin1(design.title));
        QCOMPARE(opened->minimumSize(), opened->maximumSize());
        QVERIFY(!design.width || opened->size() == QSize(design.width, design.height));
        QCOMPARE(lookFaults(opened).join(u"; "), QString());
        const QStringList focus = QString::fromLatin1(design.focus).split(u' ', Qt::SkipEmptyParts);
        for (const QString &name : focus + focus.mid(0, 1)) {
            QCOMPARE(opened->focusWidget()->objectName(), name);
            QTest::keyClick(opened->focusWidget(), Qt::Key_Tab);
        }
        console.sentThenMarker();
        console.server.clear();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(opened->focusWidget() ? opened->focusWidget() : opened, key);
        QCOMPARE(window(design.name), opened);
        QCOMPARE(console.sentThenMarker(), ConnectedConsole::requests(""));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &language : {u"marker"_s, u"english"_s, u"french"_s, u"german"_s, u"dutch"_s})
            QTest::newRow(qPrintable(language)) << language;
    }

    // With every text "#" and its key, each window shows exactly its own keys, and every key has a window. In each
    // shipped language every one-line caption fits its control.
    void captions()
    {
        QFETCH(QString, language);
        const QByteArray english = testdata::bytesOrMissing(QStringLiteral(KORVANE_LANG_DIR "/english.lang"));
        const QByteArray file = testdata::bytesOrMissing(QStringLiteral(KORVANE_LANG_DIR "/%1.lang").arg(language));
        QStringList unused = keysOf(english), problems;
        ConnectedConsole console(language, [&unused](korvane::ui::Environment &environment) {
            QString marked = u"[lang]\r\n"_s;
            for (const QString &key : unused)
                marked += key + u"=#"_s + key + u"\r\n"_s;
            testdata::writeBytes(environment.settings.languageFile(u"marker"_s), marked.toLatin1());
        });
        for (const Design &design : Windows) {
            QCOMPARE(console.play(QString::fromLatin1(design.path)), QString());
            const QString name = QString::fromLatin1(design.name);
            QStringList shown, own = unused;
            for (const auto &[control, text] : readableTexts(window(design.name)).asKeyValueRange()) {
                const QWidget *w = find(window(design.name), control.toLatin1().constData());
                if (language != u"marker" && w && neededWidth(w, text) > w->width())
                    problems.append(u"%1.%2 \"%3\" does not fit"_s.arg(name, control, text));
                if (text.startsWith(u'#') && !shown.contains(text.mid(1).section(u'\r', 0, 0)))
                    shown.append(text.mid(1).section(u'\r', 0, 0)); // the log goes on after its start text
            }
            own.removeIf([&](const QString &key) { return key != name && !key.startsWith(name + u'.'); });
            unused.removeIf([&](const QString &key) { return own.contains(key); });
            if (language == u"marker" && (shown.sort(), shown) != own)
                problems.append(name + u" shows "_s + shown.join(u' ') + u" instead of "_s + own.join(u' '));
        }
        problems += language == u"marker" ? unused : QStringList();
        // CR LF lines of Windows-1252 bytes (no control character, no UTF-8), english.lang's keys, each once.
        QStringList lowered = keysOf(file).join(u'\n').toLower().split(u'\n');
        const QRegularExpression foreign(
            u"[\\x01-\\x09\\x0B\\x0C\\x0E-\\x1F\\x81\\x8D\\x8F\\x90\\x9D]|[\\xC2-\\xDF][\\x80-\\xBF]|\\r(?!\\n)|(?<!\\r)\\n"_s);
        if (language != u"marker" && (!file.startsWith("[lang]\r\n") || keysOf(file) != keysOf(english) ||
                                      lowered.removeDuplicates() || QString::fromLatin1(file).contains(foreign)))
            problems.append(language + u".lang: its lines, bytes or keys"_s);
        QCOMPARE(problems.join(u'\n'), QString());
    }

    // Opening an open window again asks nothing; a disconnect closes all but the favourites and About windows.
    void disconnectClosesTheServerWindows()
    {
        ConnectedConsole console;
        QList<QPointer<QWidget>> opened;
        for (const Design &design : Windows)
            opened.append(console.play(QString::fromLatin1(design.path)).isEmpty() ? window(design.name) : nullptr);
        console.sentThenMarker();
        console.server.clear();
        for (int i = 0; i < int(std::size(Windows)); ++i) {
            if (qstrcmp(Windows[i].name, "add_Favorites") != 0) // its opener is a window it closes
                QCOMPARE((console.play(QString::fromLatin1(Windows[i].path)), window(Windows[i].name)),
                         opened[i].data());
        }
        QCOMPARE(console.sentThenMarker(), ConnectedConsole::requests(""));
        click(&console.main, "btnDisconnect");
        QStringList shown;
        for (const Design &design : Windows)
            if (window(design.name))
                shown.append(QString::fromLatin1(design.name));
        QCOMPARE(shown, (QStringList{u"Form1"_s, u"add_Favorites"_s, u"Favorites"_s, u"About"_s}));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
