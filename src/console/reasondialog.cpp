#include "console/reasondialog.h"

#include "rcon/serverlink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvane::console {

namespace {

using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 360, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Heading, "lblReason2", nullptr, 2040, 240, 4095, 375, "Kick/Ban Reason"},
    {Kind::Label, "lblAction", nullptr, 2040, 720, 1215, 255, "Command:"},
    {Kind::Label, "lblAction2", nullptr, 3360, 720, 2775, 255},
    {Kind::Label, "lblReason", nullptr, 2040, 1080, 1215, 255, "Reason:"},
    {Kind::Field, "edtReason", nullptr, 3360, 1080, 2775, 285},
    {Kind::Label, "lblLength", nullptr, 2040, 1440, 1215, 255, "Length:"},
    {Kind::Field, "edtLength", nullptr, 3360, 1440, 2775, 285},
    {Kind::BoldButton, "btnProceed", nullptr, 2040, 1800, 1935, 495, "Proceed"},
    {Kind::BoldButton, "btnCancel", nullptr, 4200, 1800, 1935, 495, "Cancel"},
};

// The command label and the two fields have no key: the label must stay the English text that
// "Proceed" dispatches on, and the fields hold what the user typed.
constexpr ui::Caption Captions[] = {
    {"Reason"},           {"Reason.lblReason2"}, {"Reason.lblAction"}, {"Reason.lblReason"},
    {"Reason.lblLength"}, {"Reason.btnProceed"}, {"Reason.btnCancel"},
};

} // namespace

ReasonDialog::ReasonDialog(const ui::Context &context, QWidget *owner, MainField mainField)
    : SecondaryWindow(context, owner)
    , m_mainField(std::move(mainField))
{
    setUp("Reason", "Kick/Ban Reason", 6435, 2505, Layout, Captions);
    m_action = control<QLabel>("lblAction2");
    m_reason = control<QLineEdit>("edtReason");
    m_length = control<QLineEdit>("edtLength");
    // The command is shown greyed: it is information, not something to act on.
    m_action->setEnabled(false);

    auto *proceed = control<QPushButton>("btnProceed");
    auto *cancel = control<QPushButton>("btnCancel");
    auto *picture = control("Picture1");
    picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(cancel, proceed);
    setTabOrder(proceed, m_reason);
    setTabOrder(m_reason, m_length);
    setTabOrder(m_length, picture);
    cancel->setFocus();

    onClick("btnProceed", &ReasonDialog::proceed);
    onClick("btnCancel", &ReasonDialog::cancel);
}

ReasonDialog::~ReasonDialog() = default;

void ReasonDialog::setAction(ui::KickAction action)
{
    const ui::KickRow &row = ui::rowOf(ui::KickActions, action);
    m_action->setText(ui::text(row.name));
    m_reason->setEnabled(row.reasonEnabled);
    m_length->setEnabled(row.lengthEnabled);
}

void ReasonDialog::proceed()
{
    const QString action = m_action->text();
    for (const ui::KickRow &row : ui::KickActions) {
        if (action != ui::text(row.name))
            continue;
        // Everything is read now: the target may have been edited while the dialog was open, and a
        // disabled field still counts with whatever it holds.
        QString parameter = m_mainField(row.target);
        const QChar blank = u' ';
        if (row.tail == ui::Tail::LengthAndReason)
            parameter += blank + m_length->text();
        if (row.tail != ui::Tail::None)
            parameter += blank + m_reason->text();
        link().send(ui::text(row.literal), parameter);
        clear();
        break;
    }
    close();
}

void ReasonDialog::cancel()
{
    clear();
    close();
}

void ReasonDialog::clear()
{
    m_action->clear();
    m_reason->clear();
    m_length->clear();
}

} // namespace korvane::console
