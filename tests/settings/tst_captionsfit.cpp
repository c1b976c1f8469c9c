// Every one-line caption (button, label, check box, option, frame title, one-line field) of every window
// that takes language texts fits inside its control, in each shipped language.

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

using namespace Qt::StringLiterals;
using korvane::console::MainWindow;

namespace {

// Every window with language texts, by objectName; the main window takes its texts when first shown.
const char *const Windows[] = {"Form1",     "Sure",     "Reason", "Other",     "fun",           "NormalPlayers",
                               "PBPlayers", "Cheaters", "Config", "Favorites", "add_Favorites", "About"};

// The width a control's caption takes, with the room the style needs around its text; -1 for a
// control without a one-line caption.
int neededWidth(const QWidget *widget, QString *text)
{
    const auto metric = [widget](QStyle::PixelMetric m) { return widget->style()->pixelMetric(m, nullptr, widget); };
    const auto advance = [widget](const QString &caption) {
        return QFontMetrics(widget->font()).horizontalAdvance(caption);
    };
    if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        return advance(*text = frame->title()) + 10; // the title's inset
    if (const auto *box = qobject_cast<const QCheckBox *>(widget))
        return metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing) +
               advance(*text = box->text());
    if (const auto *option = qobject_cast<const QRadioButton *>(widget))
        return metric(QStyle::PM_ExclusiveIndicatorWidth) + metric(QStyle::PM_RadioButtonLabelSpacing) +
               advance(*text = option->text());
    if (const auto *button = qobject_cast<const QPushButton *>(widget))
        return advance(*text = button->text()) + 8;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->wordWrap() ? -1 : advance(*text = label->text()); // a picture has an empty text
    if (const auto *field = qobject_cast<const QLineEdit *>(widget)) {
        // A combo box's or spin box's inner field belongs to that control.
        if (field->parentWidget()->inherits("QComboBox") || field->parentWidget()->inherits("QAbstractSpinBox"))
            return -1;
        return advance(*text = field->displayText()) + 6;
    }
    return -1;
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
    for (const QString &language : {u"english"_s, u"french"_s, u"german"_s, u"dutch"_s}) {
        for (int i = 0; i < int(std::size(Windows)); ++i)
            QTest::addRow("%s/%s", qPrintable(language), Windows[i]) << language << i;
    }
}

void TestCaptionsFit::everyCaptionFits()
{
    QFETCH(QString, language);
    QFETCH(int, index);

    // The windows that ask the server at once ask a silent loopback peer; nothing needs an answer.
    TestProgram program(language);
    FakeServer server(FakeServer::Mode::Silent);
    MainWindow main(program.environment());
    main.setServerFields(u"127.0.0.1"_s, server.portText(), u"secret"_s);
    main.show();
    QWidget *window =
        index == 0 ? static_cast<QWidget *>(&main) : openWindow(main, QString::fromLatin1(Windows[index]));
    QVERIFY2(window && window->isVisible(), Windows[index]);

    // The window's own visible controls (not those of the windows it owns).
    int captions = 0;
    QStringList offenders;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        QString text;
        if (widget->window() != window || !widget->isVisibleTo(window) || widget->objectName().isEmpty())
            continue;
        const int needed = neededWidth(widget, &text);
        captions += text.isEmpty() ? 0 : 1;
        if (needed > widget->width())
            offenders.append(u"  %1 \"%2\": needs %3 px, has %4 px"_s.arg(
                widget->objectName(), text, QString::number(needed), QString::number(widget->width())));
    }
    // The language file was read: at least one caption shows a text.
    QVERIFY(captions > 0);
    // One message with every offender, so that they can all be fixed in one go.
    if (!offenders.isEmpty())
        QFAIL(qPrintable(u"%1 captions do not fit:\n"_s.arg(offenders.size()) + offenders.join(u'\n')));
}

QTEST_MAIN(TestCaptionsFit)
#include "tst_captionsfit.moc"
