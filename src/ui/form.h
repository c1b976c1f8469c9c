#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include <span>

// The windows are laid out at fixed positions, as their designs give them in twips (1/15 of a pixel
// at 96 dpi). Each window describes itself and its controls in one table; build() creates them with
// their names, fixed texts and the shared look: navy windows, white labels, yellow bold frame captions, Arial buttons
// and fields, grey-on-black answer fields.
namespace korvane::ui {

enum class Kind {
    Frame,         // QGroupBox with a yellow bold caption
    Label,         // QLabel, white on navy, plain text
    Heading,       // QLabel in 13.5 pt underlined, for dialog headlines
    Button,        // QPushButton, never a default button
    BoldButton,    // QPushButton in bold Arial
    Field,         // QLineEdit
    PasswordField, // QLineEdit masked with '*'
    HiddenField,   // QLineEdit that is never shown
    AnswerField,   // read-only QPlainTextEdit, grey on black, bold Verdana, vertical scroll bar
    ComboBox,      // QComboBox, pick-only
    ListBox,       // QListWidget
    CheckBox,      // QCheckBox, white text
    Option,        // QRadioButton, white text
    Picture,       // QLabel showing the image named by the text (a resource path)
    ProgressBar,   // QProgressBar 0..100
};

// What a control shows. Most controls are captioned: their text comes from the language file alone,
// under the key "Window.Control", or under the key given where it does not follow that rule. The
// others keep a fixed text, written here.
struct Text {
    enum Source { Fixed, OwnKey, OtherKey };
    Source source = Fixed;
    const char *value = ""; // the fixed text, or the other key

    constexpr Text() = default;
    constexpr Text(const char *fixed)
        : value(fixed)
    {
    }
    constexpr Text(Source source, const char *value)
        : source(source)
        , value(value)
    {
    }
};
inline constexpr Text Captioned{Text::OwnKey, ""};
constexpr Text captionedAs(const char *key)
{
    return {Text::OtherKey, key};
}

struct Control {
    Kind kind;
    const char *name;
    const char *parent; // a frame's name, or nullptr for the window itself
    int left, top, width, height;
    Text text = {};
};

// A window as a whole: its name, its title (captioned under the window's name), its client size in
// twips, and its controls. Disconnect closes the windows that command the connected server.
struct WindowDesign {
    const char *name;
    Text title;
    int width, height;
    std::span<const Control> layout;
    bool closedByDisconnect = false;
};

constexpr int pixels(int twips)
{
    return twips / 15;
}

// A window's controls by name, as its table built them: the one way a window finds its controls.
// Only this window's own controls are here, never those of a window it owns, which may reuse a name.
class Controls final {
public:
    Controls() = default;
    explicit Controls(QHash<QString, QWidget *> byName)
        : m_byName(std::move(byName))
    {
    }

    // The control of that name and kind; asking for one the table does not hold is a programming error.
    template <typename T = QWidget> T *get(const QString &name) const
    {
        T *widget = qobject_cast<T *>(m_byName.value(name));
        Q_ASSERT_X(widget, "ui::Controls::get", qPrintable(name));
        return widget;
    }
    template <typename T = QWidget> T *get(const char *name) const { return get<T>(QString::fromLatin1(name)); }

private:
    QHash<QString, QWidget *> m_byName;
};

// Names the window, sizes it and gives it the navy background and its fixed title; then creates the
// controls of its layout, in order (a frame before what it holds).
Controls build(QWidget *window, const WindowDesign &design);

// The texts of the tables are ASCII; one conversion point keeps the casts explicit.
inline QString text(const char *ascii)
{
    return QString::fromLatin1(ascii);
}

} // namespace korvane::ui
