#include "console/confirmdialog.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"
#include "match/gameplaywindow.h"
#include "settings/captions.h"

#include <QLabel>
#include <QPushButton>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Heading, "lblSure", nullptr, 2160, 120, 4095, 375, "Are you sure?"},
    {Kind::Label, "lblAction", nullptr, 2160, 600, 1455, 255, "Action:"},
    {Kind::Label, "lblAction2", nullptr, 3720, 600, 2535, 255},
    {Kind::Label, "lblInput", nullptr, 2160, 960, 1455, 255, "Parameters:"},
    {Kind::Label, "lblInput2", nullptr, 3720, 960, 2535, 255},
    {Kind::BoldButton, "btnSureOK", nullptr, 2160, 1440, 1935, 495, "Yes"},
    {Kind::BoldButton, "btnSureCancel", nullptr, 4320, 1440, 1935, 495, "No"},
};

// The action and parameter labels have no key: what they show must stay the English text that
// "Yes" dispatches on.
constexpr captions::Entry Captions[] = {
    {"Sure", nullptr},
    {"Sure.lblSure", "lblSure"},
    {"Sure.lblAction", "lblAction"},
    {"Sure.lblInput", "lblInput"},
    {"Sure.btnSureOK", "btnSureOK"},
    {"Sure.btnSureCancel", "btnSureCancel"},
};

// Where the parameter of a command comes from when "Yes" is pressed.
enum class Parameter {
    None,
    Referee, // the game play window's referee field as it is now, not as the label shows it
};

struct Action {
    const char *name; // the text of lblAction2, compared exactly
    const char *literal;
    Parameter parameter;
};

// Tried in this order.
constexpr Action Actions[] = {
    {"Clear bans from memory", " pb_sv_banempty", Parameter::None},
    {"Kill the server", " killserver", Parameter::None},
    {"Restart server", " exec server", Parameter::None},
    {"Restart map", " ref restart", Parameter::None},
    {"Load next map", " ref nextmap", Parameter::None},
    {"Reset match", " ref matchreset", Parameter::None},
    {"Shuffle teams with restart", " ref shuffleteamsxp", Parameter::None},
    {"Shuffle teams without restart", " ref shuffleteamsxp_norestart", Parameter::None},
    {"Swap teams", " ref swapteams", Parameter::None},
    {"Give referee status", " ref referee ", Parameter::Referee},
};

} // namespace

ConfirmDialog::ConfirmDialog(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "Sure", "Confirm Action", 6510, 2130);
    form::build(this, Layout);
    m_action = form::child<QLabel>(this, "lblAction2");
    m_parameter = form::child<QLabel>(this, "lblInput2");

    auto *yes = form::child<QPushButton>(this, "btnSureOK");
    auto *no = form::child<QPushButton>(this, "btnSureCancel");
    auto *picture = form::child<QWidget>(this, "Picture1");
    picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(yes, no);
    setTabOrder(no, picture);
    yes->setFocus();

    connect(yes, &QPushButton::clicked, this, &ConfirmDialog::confirm);
    connect(no, &QPushButton::clicked, this, &ConfirmDialog::cancel);
}

ConfirmDialog::~ConfirmDialog() = default;

void ConfirmDialog::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, Captions);
}

void ConfirmDialog::setAction(const QString &action, const QString &parameter)
{
    m_action->setText(action);
    m_parameter->setText(parameter);
}

void ConfirmDialog::confirm()
{
    const QString action = m_action->text();
    for (const Action &row : Actions) {
        if (action != form::text(row.name))
            continue;
        const QString literal = form::text(row.literal);
        if (row.parameter == Parameter::None) {
            mainWindow().sendCommand(literal);
        } else if (const GamePlayWindow *gamePlay = mainWindow().gamePlayWindow()) {
            mainWindow().sendCommand(literal, gamePlay->refereeText());
        }
        // Without the game play window there is no referee field to read: nothing is sent, and the
        // window is not brought back just for this.
        clear();
        break;
    }
    close();
}

void ConfirmDialog::cancel()
{
    clear();
    close();
}

void ConfirmDialog::clear()
{
    m_action->clear();
    m_parameter->clear();
}

} // namespace korvane
