#include "console/reasondialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvane::console {

namespace {

using ui::Captioned;
using ui::Kind;

// The command label and the two fields have no key: the label shows the command's English name, and
// the fields hold what the user typed.
constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 360, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Heading, "lblReason2", nullptr, 2040, 240, 4095, 375, Captioned},
    {Kind::Label, "lblAction", nullptr, 2040, 720, 1215, 255, Captioned},
    {Kind::Label, "lblAction2", nullptr, 3360, 720, 2775, 255},
    {Kind::Label, "lblReason", nullptr, 2040, 1080, 1215, 255, Captioned},
    {Kind::Field, "edtReason", nullptr, 3360, 1080, 2775, 285},
    {Kind::Label, "lblLength", nullptr, 2040, 1440, 1215, 255, Captioned},
    {Kind::Field, "edtLength", nullptr, 3360, 1440, 2775, 285},
    {Kind::BoldButton, "btnProceed", nullptr, 2040, 1800, 1935, 495, Captioned},
    {Kind::BoldButton, "btnCancel", nullptr, 4200, 1800, 1935, 495, Captioned},
};

constexpr ui::WindowDesign Design{
    .name = "Reason", .title = Captioned, .width = 6435, .height = 2505, .layout = Layout, .closedByDisconnect = true};

} // namespace

ReasonDialog::ReasonDialog(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    m_actionName = control<QLabel>("lblAction2");
    m_reason = control<QLineEdit>("edtReason");
    m_length = control<QLineEdit>("edtLength");
    // The command is shown greyed: it is information, not something to act on.
    m_actionName->setEnabled(false);

    auto *proceed = control<QPushButton>("btnProceed");
    auto *cancel = control<QPushButton>("btnCancel");
    auto *picture = control("Picture1");
    picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(cancel, proceed);
    setTabOrder(proceed, m_reason);
    setTabOrder(m_reason, m_length);
    setTabOrder(m_length, picture);
    cancel->setFocus();

    onClick("btnProceed", [this] { answer(true); });
    onClick("btnCancel", [this] { answer(false); });
}

ReasonDialog::~ReasonDialog() = default;

void ReasonDialog::setAction(KickAction action)
{
    const KickRow &row = rowOf(KickActions, action);
    m_action = action;
    m_actionName->setText(ui::text(row.name));
    m_reason->setEnabled(row.reasonEnabled);
    m_length->setEnabled(row.lengthEnabled);
}

void ReasonDialog::answer(bool proceed)
{
    const std::optional<KickAction> action = std::exchange(m_action, std::nullopt);
    if (proceed && action)
        Q_EMIT proceeded(*action, m_length->text(), m_reason->text());
    m_actionName->clear();
    m_reason->clear();
    m_length->clear();
    close();
}

} // namespace korvane::console
