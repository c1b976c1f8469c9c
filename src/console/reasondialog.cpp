#include "console/reasondialog.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"
#include "settings/captions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
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
constexpr captions::Entry Captions[] = {
    {"Reason", nullptr},
    {"Reason.lblReason2", "lblReason2"},
    {"Reason.lblAction", "lblAction"},
    {"Reason.lblReason", "lblReason"},
    {"Reason.lblLength", "lblLength"},
    {"Reason.btnProceed", "btnProceed"},
    {"Reason.btnCancel", "btnCancel"},
};

// What follows the target in a command, each part after one blank, also when it is empty.
enum class Tail {
    None,
    Reason,
    LengthAndReason,
};

struct Command {
    const char *name; // the text of lblAction2, compared exactly
    const char *literal;
    const char *target; // the main window's field naming the player, GUID or address
    Tail tail;
};

// Tried in this order.
constexpr Command Commands[] = {
    {"Kick By ID Number", " clientkick ", "edtSlot1", Tail::None},
    {"Kick By Name", " kick ", "edtSlot3", Tail::None},
    {"Ban By Name", " ban ", "edtSlot2", Tail::None},
    {"PB Kick By Slot #", " pb_sv_kick ", "edtSlot4", Tail::LengthAndReason},
    {"PB Kick By Name", " pb_sv_kick ", "edtSlot5", Tail::LengthAndReason},
    {"PB Ban By Name", " pb_sv_ban ", "edtSlot6", Tail::Reason},
    {"PB Ban By Slot #", " pb_sv_ban ", "edtSlot8", Tail::Reason},
    {"PB Ban By GUID", " pb_sv_banguid ", "edtSlot7", Tail::Reason},
    {"PB Ban By IP", " pb_sv_banmask ", "edtPBBanmask", Tail::None},
};

} // namespace

ReasonDialog::ReasonDialog(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "Reason", "Kick/Ban Reason", 6435, 2505);
    form::build(this, Layout);
    m_action = form::child<QLabel>(this, "lblAction2");
    m_reason = form::child<QLineEdit>(this, "edtReason");
    m_length = form::child<QLineEdit>(this, "edtLength");
    // The command is shown greyed: it is information, not something to act on.
    m_action->setEnabled(false);

    auto *proceed = form::child<QPushButton>(this, "btnProceed");
    auto *cancel = form::child<QPushButton>(this, "btnCancel");
    auto *picture = form::child<QWidget>(this, "Picture1");
    picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(cancel, proceed);
    setTabOrder(proceed, m_reason);
    setTabOrder(m_reason, m_length);
    setTabOrder(m_length, picture);
    cancel->setFocus();

    connect(proceed, &QPushButton::clicked, this, &ReasonDialog::proceed);
    connect(cancel, &QPushButton::clicked, this, &ReasonDialog::cancel);
}

ReasonDialog::~ReasonDialog() = default;

void ReasonDialog::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, Captions);
}

void ReasonDialog::setAction(const QString &action, bool reasonEnabled, bool lengthEnabled)
{
    m_action->setText(action);
    m_reason->setEnabled(reasonEnabled);
    m_length->setEnabled(lengthEnabled);
}

void ReasonDialog::proceed()
{
    const QString action = m_action->text();
    for (const Command &row : Commands) {
        if (action != form::text(row.name))
            continue;
        // Everything is read now: the target may have been edited while the dialog was open, and a
        // disabled field still counts with whatever it holds.
        QString parameter = mainWindow().fieldText(row.target);
        const QChar blank = u' ';
        if (row.tail == Tail::LengthAndReason)
            parameter += blank + m_length->text();
        if (row.tail != Tail::None)
            parameter += blank + m_reason->text();
        mainWindow().sendCommand(form::text(row.literal), parameter);
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

} // namespace korvane
