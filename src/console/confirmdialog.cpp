#include "console/confirmdialog.h"

#include "rcon/serverlink.h"

#include <QLabel>
#include <QPushButton>

namespace korvane::console {

namespace {

using ui::Kind;

constexpr ui::Control Layout[] = {
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
constexpr ui::Caption Captions[] = {
    {"Sure"}, {"Sure.lblSure"}, {"Sure.lblAction"}, {"Sure.lblInput"}, {"Sure.btnSureOK"}, {"Sure.btnSureCancel"},
};

} // namespace

ConfirmDialog::ConfirmDialog(const ui::Context &context, QWidget *owner, RefereeField referee)
    : SecondaryWindow(context, owner)
    , m_referee(std::move(referee))
{
    setUp("Sure", "Confirm Action", 6510, 2130, Layout, Captions);
    m_action = control<QLabel>("lblAction2");
    m_parameter = control<QLabel>("lblInput2");

    auto *yes = control<QPushButton>("btnSureOK");
    auto *no = control<QPushButton>("btnSureCancel");
    auto *picture = control("Picture1");
    picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(yes, no);
    setTabOrder(no, picture);
    yes->setFocus();

    onClick("btnSureOK", &ConfirmDialog::confirm);
    onClick("btnSureCancel", &ConfirmDialog::cancel);
}

ConfirmDialog::~ConfirmDialog() = default;

void ConfirmDialog::setAction(ui::ConfirmAction action, const QString &parameter)
{
    m_action->setText(ui::text(ui::rowOf(ui::ConfirmActions, action).name));
    m_parameter->setText(parameter);
}

void ConfirmDialog::confirm()
{
    const QString action = m_action->text();
    for (const ui::ConfirmRow &row : ui::ConfirmActions) {
        if (action != ui::text(row.name))
            continue;
        const QString literal = ui::text(row.literal);
        if (!row.takesReferee) {
            link().send(literal);
        } else if (const std::optional<QString> referee = m_referee()) {
            link().send(literal, *referee);
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

} // namespace korvane::console
