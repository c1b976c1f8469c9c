#include "console/confirmdialog.h"

#include <QLabel>
#include <QPushButton>

namespace korvane::console {

namespace {

using ui::Captioned;
using ui::Kind;

// The action and parameter labels have no key: they show the opener's English texts.
constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Heading, "lblSure", nullptr, 2160, 120, 4095, 375, Captioned},
    {Kind::Label, "lblAction", nullptr, 2160, 600, 1455, 255, Captioned},
    {Kind::Label, "lblAction2", nullptr, 3720, 600, 2535, 255},
    {Kind::Label, "lblInput", nullptr, 2160, 960, 1455, 255, Captioned},
    {Kind::Label, "lblInput2", nullptr, 3720, 960, 2535, 255},
    {Kind::BoldButton, "btnSureOK", nullptr, 2160, 1440, 1935, 495, Captioned},
    {Kind::BoldButton, "btnSureCancel", nullptr, 4320, 1440, 1935, 495, Captioned},
};

constexpr ui::WindowDesign Design{
    .name = "Sure", .title = Captioned, .width = 6510, .height = 2130, .layout = Layout, .closedByDisconnect = true};

} // namespace

ConfirmDialog::ConfirmDialog(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    m_actionName = control<QLabel>("lblAction2");
    m_parameter = control<QLabel>("lblInput2");

    auto *yes = control<QPushButton>("btnSureOK");
    auto *no = control<QPushButton>("btnSureCancel");
    auto *picture = control("Picture1");
    picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(yes, no);
    setTabOrder(no, picture);
    yes->setFocus();

    onClick("btnSureOK", [this] { answer(true); });
    onClick("btnSureCancel", [this] { answer(false); });
}

ConfirmDialog::~ConfirmDialog() = default;

void ConfirmDialog::setAction(ConfirmAction action, const QString &parameter)
{
    m_action = action;
    m_actionName->setText(ui::text(rowOf(ConfirmActions, action).name));
    m_parameter->setText(parameter);
}

void ConfirmDialog::answer(bool yes)
{
    const std::optional<ConfirmAction> action = std::exchange(m_action, std::nullopt);
    if (yes && action)
        Q_EMIT confirmed(*action);
    m_actionName->clear();
    m_parameter->clear();
    close();
}

} // namespace korvane::console
