#include "ui/form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

// The pictures are compiled into this static library, where nothing refers to them: without an
// explicit registration the linker leaves them out of the program and every picture stays empty.
static void registerPictures()
{
    Q_INIT_RESOURCE(korvane);
}

namespace korvane::ui {

namespace {

const QColor Navy(0, 0, 64);
const QColor FrameYellow(192, 192, 0);
const QColor AnswerGrey(192, 192, 192);

QFont makeFont(const char *family, double points, bool bold = false, bool underline = false)
{
    QFont font(text(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, colour.darker(150));
    widget->setPalette(palette);
}

// The text a control is made with: its fixed text; a captioned one waits for its language.
QString fixedText(const Control &c)
{
    return c.text.source == Text::Fixed ? text(c.text.value) : QString();
}

QLabel *makeLabel(QWidget *parent, const Control &c, const QFont &font)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(fixedText(c));
    label->setFont(font);
    setTextColour(label, Qt::white);
    return label;
}

QPushButton *makeButton(QWidget *parent, const Control &c, bool bold)
{
    auto *button = new QPushButton(fixedText(c), parent);
    button->setFont(makeFont("Arial", 8.25, bold));
    // No button answers Enter: a dialog acts only on a click or Space on the focused button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLineEdit *makeField(QWidget *parent, const Control &c)
{
    auto *field = new QLineEdit(fixedText(c), parent);
    field->setFont(makeFont("Arial", 8.25));
    // Whatever a field holds is sent: no length limit of the widget may cut it.
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QWidget *makeControl(QWidget *parent, const Control &c)
{
    switch (c.kind) {
    case Kind::Frame: {
        auto *frame = new QGroupBox(fixedText(c), parent);
        frame->setFont(makeFont("MS Sans Serif", 8.25, true));
        setTextColour(frame, FrameYellow);
        return frame;
    }
    case Kind::Label:
        return makeLabel(parent, c, makeFont("Arial", 8.25));
    case Kind::Heading:
        return makeLabel(parent, c, makeFont("MS Sans Serif", 13.5, false, true));
    case Kind::Button:
        return makeButton(parent, c, false);
    case Kind::BoldButton:
        return makeButton(parent, c, true);
    case Kind::Field:
        return makeField(parent, c);
    case Kind::PasswordField: {
        QLineEdit *field = makeField(parent, c);
        field->setEchoMode(QLineEdit::Password);
        field->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
        return field;
    }
    case Kind::HiddenField: {
        QLineEdit *field = makeField(parent, c);
        field->setVisible(false);
        return field;
    }
    case Kind::AnswerField: {
        auto *answer = new QPlainTextEdit(parent);
        answer->setReadOnly(true);
        // A log only grows: an undo history would keep a second copy of everything it ever received.
        answer->setUndoRedoEnabled(false);
        answer->setPlainText(fixedText(c));
        answer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        answer->setFont(makeFont("Verdana", 8.25, true));
        QPalette palette = answer->palette();
        palette.setColor(QPalette::Base, Qt::black);
        palette.setColor(QPalette::Text, AnswerGrey);
        answer->setPalette(palette);
        return answer;
    }
    case Kind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setFont(makeFont("Arial", 8.25));
        return combo;
    }
    case Kind::ListBox: {
        auto *list = new QListWidget(parent);
        list->setFont(makeFont("Arial", 8.25));
        return list;
    }
    case Kind::CheckBox: {
        auto *box = new QCheckBox(fixedText(c), parent);
        box->setFont(makeFont("Arial", 8.25));
        setTextColour(box, Qt::white);
        return box;
    }
    case Kind::Option: {
        auto *option = new QRadioButton(fixedText(c), parent);
        option->setFont(makeFont("Arial", 8.25));
        setTextColour(option, Qt::white);
        return option;
    }
    case Kind::Picture: {
        registerPictures();
        auto *picture = new QLabel(parent);
        picture->setPixmap(QPixmap(fixedText(c)));
        picture->setScaledContents(true);
        return picture;
    }
    case Kind::ProgressBar: {
        auto *bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    }
    Q_UNREACHABLE();
}

} // namespace

Controls build(QWidget *window, const WindowDesign &design)
{
    window->setObjectName(text(design.name));
    if (design.title.source == Text::Fixed)
        window->setWindowTitle(text(design.title.value));
    window->setFixedSize(pixels(design.width), pixels(design.height));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Navy);
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    QHash<QString, QWidget *> built;
    built.reserve(design.layout.size());
    for (const Control &c : design.layout) {
        QWidget *parent = c.parent ? built.value(text(c.parent)) : window;
        Q_ASSERT_X(parent, "ui::build", c.name);
        QWidget *widget = makeControl(parent, c);
        widget->setObjectName(text(c.name));
        widget->setGeometry(pixels(c.left), pixels(c.top), pixels(c.width), pixels(c.height));
        built.insert(widget->objectName(), widget);
    }
    return Controls(std::move(built));
}

} // namespace korvane::ui
