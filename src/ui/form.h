#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include <span>

// The windows are laid out at fixed positions, as their designs give them in twips (1/15 of a pixel
// at 96 dpi). Each window describes its controls in a table; build() creates them with their names,
// texts and the shared look: navy windows, white labels, yellow bold frame captions, Arial buttons
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

struct Control {
    Kind kind;
    const char *name;
    const char *parent; // a frame's name, or nullptr for the window itself
    int left, top, width, height;
    const char *text = "";
};

constexpr int pixels(int twips)
{
    return twips / 15;
}

// Names the window, sets its title, client size (in twips) and navy background.
void setUpWindow(QWidget *window, const char *name, const char *title, int widthTwips, int heightTwips);

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

// Creates the controls of the table, in order (a frame before what it holds).
Controls build(QWidget *window, std::span<const Control> controls);

// The texts of the tables are ASCII; one conversion point keeps the casts explicit.
inline QString text(const char *ascii)
{
    return QString::fromLatin1(ascii);
}

} // namespace korvane::ui
