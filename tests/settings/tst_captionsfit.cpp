// Every caption of every window that takes language texts fits inside its control, in each shipped
// language: buttons, labels, check boxes, options, frame titles and the texts of one-line fields.
// The answer fields and the log wrap or scroll, and window titles belong to the window manager, so
// they are left out.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "testenv.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;
using korvane::MainWindow;
using korvane::PlayerList;

namespace {

const QStringList Languages = {u"english"_s, u"french"_s, u"german"_s, u"dutch"_s};

// Room the style needs around a caption, beyond the width of its text.
constexpr int ButtonPadding = 8;
constexpr int FieldPadding = 6;
constexpr int FrameTitleInset = 10;

// A window with language texts, by objectName, and how the main window opens it.
struct OpenedWindow {
    const char *name;
    void (*open)(MainWindow &main);
};

const OpenedWindow Windows[] = {
    {"Form1", [](MainWindow &) {}},
    {"Sure", [](MainWindow &main) { main.openConfirm(u"Clear bans from memory"_s, u"Not applicable"_s); }},
    {"Reason", [](MainWindow &main) { main.openReason(u"PB Kick By Slot #"_s, true, true); }},
    {"Other", [](MainWindow &main) { main.openGamePlay(); }},
    {"fun", [](MainWindow &main) { main.openFun(); }},
    {"NormalPlayers", [](MainWindow &main) { main.openPlayerList(PlayerList::Normal); }},
    {"PBPlayers", [](MainWindow &main) { main.openPlayerList(PlayerList::PunkBuster); }},
    {"Cheaters", [](MainWindow &main) { main.openCheaters(); }},
    {"Config", [](MainWindow &main) { main.openConfig(); }},
    {"Favorites", [](MainWindow &main) { main.openFavorites(); }},
    {"add_Favorites", [](MainWindow &main) { main.openAddFavorite(); }},
    {"About", [](MainWindow &main) { main.openAbout(); }},
};

// A caption as its control shows it: the text, the width it takes with the style's padding, and the
// width the control offers.
struct Caption {
    QString text;
    int needed;
    int available;
};

int textWidth(const QWidget *widget, const QString &text)
{
    return QFontMetrics(widget->font()).horizontalAdvance(text);
}

// Width of an indicator and the gap before its text.
int indicatorWidth(const QWidget *widget, QStyle::PixelMetric indicator, QStyle::PixelMetric spacing)
{
    const QStyle *style = widget->style();
    return style->pixelMetric(indicator, nullptr, widget) + style->pixelMetric(spacing, nullptr, widget);
}

std::optional<Caption> captionOf(const QWidget *widget)
{
    const int width = widget->width();
    if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        return Caption{frame->title(), textWidth(frame, frame->title()), width - FrameTitleInset};
    if (const auto *box = qobject_cast<const QCheckBox *>(widget)) {
        const int indicator = indicatorWidth(box, QStyle::PM_IndicatorWidth, QStyle::PM_CheckBoxLabelSpacing);
        return Caption{box->text(), indicator + textWidth(box, box->text()), width};
    }
    if (const auto *option = qobject_cast<const QRadioButton *>(widget)) {
        const int indicator =
            indicatorWidth(option, QStyle::PM_ExclusiveIndicatorWidth, QStyle::PM_RadioButtonLabelSpacing);
        return Caption{option->text(), indicator + textWidth(option, option->text()), width};
    }
    if (const auto *button = qobject_cast<const QPushButton *>(widget))
        return Caption{button->text(), textWidth(button, button->text()) + ButtonPadding, width};
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        // A wrapping label has room below; a picture has no text.
        if (label->wordWrap() || label->text().isEmpty())
            return std::nullopt;
        return Caption{label->text(), textWidth(label, label->text()), width};
    }
    if (const auto *field = qobject_cast<const QLineEdit *>(widget))
        return Caption{field->displayText(), textWidth(field, field->displayText()) + FieldPadding, width};
    return std::nullopt;
}

// The captions of a window's own visible controls (not those of the windows it owns), by name.
QMap<QString, Caption> captionsOf(const QWidget *window)
{
    QMap<QString, Caption> captions;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || !widget->isVisibleTo(window) || widget->objectName().isEmpty())
            continue;
        // A combo box's or spin box's inner field belongs to that control.
        if (qobject_cast<const QLineEdit *>(widget) &&
            (widget->parentWidget()->inherits("QComboBox") || widget->parentWidget()->inherits("QAbstractSpinBox")))
            continue;
        if (const std::optional<Caption> caption = captionOf(widget))
            captions.insert(widget->objectName(), *caption);
    }
    return captions;
}

QWidget *openedWindow(MainWindow &main, const char *name)
{
    if (main.objectName() == QLatin1StringView(name))
        return &main;
    return ::window(name);
}

} // namespace

class TestCaptionsFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyCaptionFits_data();
    void everyCaptionFits();
};

void TestCaptionsFit::everyCaptionFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("index");
    for (const QString &language : Languages) {
        for (int i = 0; i < int(std::size(Windows)); ++i)
            QTest::addRow("%s/%s", qPrintable(language), Windows[i].name) << language << i;
    }
}

void TestCaptionsFit::everyCaptionFits()
{
    QFETCH(QString, language);
    QFETCH(int, index);
    const OpenedWindow &which = Windows[index];

    // The windows that ask the server at once ask a silent loopback peer; nothing needs an answer.
    TestProgram program(language);
    FakeServer server(FakeServer::Mode::Silent);
    MainWindow main(program.environment());
    main.setServerFields(u"127.0.0.1"_s, server.portText(), u"secret"_s);
    main.show();
    which.open(main);
    QWidget *window = openedWindow(main, which.name);
    QVERIFY2(window, which.name);
    QVERIFY(window->isVisible());

    const QMap<QString, Caption> captions = captionsOf(window);
    QVERIFY(!captions.isEmpty());
    // The language file was read: at least one caption shows a text.
    QVERIFY(std::any_of(captions.cbegin(), captions.cend(), [](const Caption &c) { return !c.text.isEmpty(); }));

    QStringList offenders;
    for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
        const Caption &caption = it.value();
        if (caption.needed > caption.available) {
            offenders.append(u"  %1 \"%2\": needs %3 px, has %4 px"_s.arg(it.key(), caption.text)
                                 .arg(caption.needed)
                                 .arg(caption.available));
        }
    }
    // One message with every offender, so that they can all be fixed in one go.
    if (!offenders.isEmpty()) {
        const QString message = u"%1 captions do not fit:\n"_s.arg(offenders.size()) + offenders.join(u'\n');
        QFAIL(qPrintable(message));
    }
}

QTEST_MAIN(TestCaptionsFit)
#include "tst_captionsfit.moc"
