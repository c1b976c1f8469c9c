#include "match/funwindow.h"

#include "rcon/serverlink.h"
#include "ui/commandbuttons.h"
#include "ui/environment.h"

#include <QProgressBar>
#include <QPushButton>

namespace korvane::match {

namespace {

using ui::Captioned;
using ui::Kind;

// One row per variable: change it to the value beside the button, or reset it. The switches follow
// as on/off pairs, then the master reset with its progress bar across the whole window.
constexpr int Cell = 2880;
constexpr int Change = 120;
constexpr int Value = Change + Cell + 60;
constexpr int Reset = Value + Cell + 60;
constexpr int Whole = Reset + Cell - Change;
constexpr int Half = (Whole - 60) / 2;
constexpr int On = Change;
constexpr int Off = On + Half + 60;
constexpr int Tall = 330;
constexpr int row(int index)
{
    return 1080 + index * 360;
}

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 840, 840, ":/korvane/emblem.png"},
    {Kind::Heading, "lblFun", nullptr, 1080, 330, Whole - 960, 420, Captioned},

    {Kind::Button, "btngravity", nullptr, Change, row(0), Cell, Tall, Captioned},
    {Kind::Field, "edtgravity", nullptr, Value, row(0), Cell, Tall, "800"},
    {Kind::Button, "btnGravityReset", nullptr, Reset, row(0), Cell, Tall, Captioned},
    {Kind::Button, "btnSpeed", nullptr, Change, row(1), Cell, Tall, ui::captionedAs("fun.btnspeed")},
    {Kind::Field, "edtSpeed", nullptr, Value, row(1), Cell, Tall, "320"},
    {Kind::Button, "btnSpeedReset", nullptr, Reset, row(1), Cell, Tall, ui::captionedAs("fun.btnspeedreset")},
    {Kind::Button, "btnShove", nullptr, Change, row(2), Cell, Tall, Captioned},
    {Kind::Field, "edtShove", nullptr, Value, row(2), Cell, Tall, "80"},
    {Kind::Button, "btnShoveReset", nullptr, Reset, row(2), Cell, Tall, Captioned},
    {Kind::Button, "btnMoverscale", nullptr, Change, row(3), Cell, Tall, Captioned},
    {Kind::Field, "edtMoverscale", nullptr, Value, row(3), Cell, Tall, "1"},
    {Kind::Button, "btnmoverscaleReset", nullptr, Reset, row(3), Cell, Tall, ui::captionedAs("fun.btnMoverscalereset")},
    {Kind::Button, "btnheadshot", nullptr, Change, row(4), Cell, Tall, Captioned},
    {Kind::ComboBox, "Combo1", nullptr, Value, row(4), Cell, Tall},
    {Kind::Button, "btnHeadshotReset", nullptr, Reset, row(4), Cell, Tall, ui::captionedAs("fun.btnheadshotReset")},

    {Kind::Button, "btnWolfrofOn", nullptr, On, row(5), Half, Tall, Captioned},
    {Kind::Button, "btnWolfrofOff", nullptr, Off, row(5), Half, Tall, Captioned},
    {Kind::Button, "btnShove_nozOn", nullptr, On, row(6), Half, Tall, Captioned},
    {Kind::Button, "btnShove_nozOff", nullptr, Off, row(6), Half, Tall, Captioned},
    {Kind::Button, "btnknifeonlyOn", nullptr, On, row(7), Half, Tall, Captioned},
    {Kind::Button, "btnknifeonlyOff", nullptr, Off, row(7), Half, Tall, Captioned},

    {Kind::Button, "btnResetAll", nullptr, On, row(8) + 120, Whole, Tall, Captioned},
    {Kind::ProgressBar, "Progress", nullptr, On, row(9) + 180, Whole, 300},
};
// Four keys differ in letter case from their control's name, so they name it.
constexpr ui::WindowDesign Design{.name = "fun",
                                  .title = Captioned,
                                  .width = Whole + 240,
                                  .height = 4920,
                                  .layout = Layout,
                                  .closedByDisconnect = true};

// Buttons that send at once: the literal, then the field's text as it stands.
constexpr ui::DirectCommand DirectCommands[] = {
    {"btngravity", " g_gravity ", "edtgravity"},
    {"btnGravityReset", " reset g_gravity", nullptr},
    {"btnSpeed", " g_speed ", "edtSpeed"},
    {"btnSpeedReset", " reset g_speed", nullptr},
    {"btnShove", " b_shove ", "edtShove"},
    {"btnShoveReset", " reset b_shove", nullptr},
    // The variable disables vertical shove, so "on" sends 0.
    {"btnShove_nozOn", " b_shove_noz 0", nullptr},
    {"btnShove_nozOff", " b_shove_noz 1", nullptr},
    {"btnMoverscale", " b_moverscale ", "edtMoverscale"},
    {"btnmoverscaleReset", " reset b_moverscale", nullptr},
    {"btnWolfrofOn", " b_wolfrof 1", nullptr},
    {"btnWolfrofOff", " b_wolfrof 0", nullptr},
    {"btnknifeonlyOn", " g_knifeonly 1", nullptr},
    {"btnknifeonlyOff", " g_knifeonly 0", nullptr},
    {"btnHeadshotReset", " reset b_headshot", nullptr},
};

// The headshot list's entries in order, each with its command; any other text sends nothing.
constexpr ui::Choice HeadshotModes[] = {
    {"0 - Off", " b_headshot 0"},
    {"1 - Headshot only", " b_headshot 1"},
    {"2 - Instagib", " b_headshot 2"},
    {"3 - Instagib with headshot", " b_headshot 3"},
};
constexpr ui::ChoiceList Choices[] = {{"btnheadshot", "Combo1", HeadshotModes}};

// The master reset, step by step: the command, then the progress shown once its wait is over.
struct ResetStep {
    const char *literal;
    int progress;
};
constexpr ResetStep ResetSteps[] = {
    {" reset b_moverscale", 13}, {" reset b_wolfrof", 26}, {" reset b_shove_noz", 39}, {" reset g_knifeonly", 52},
    {" reset g_gravity", 65},    {" reset g_speed", 78},   {" reset b_shove", 91},     {" reset b_headshot", 100},
};
// The server is given time to apply each reset before the next one arrives.
constexpr int ResetSpacingMs = 800;

} // namespace

FunWindow::FunWindow(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    ui::connectDirect(controls(), link(), DirectCommands);
    ui::setUpChoices(controls(), link(), Choices);
    onClick("btnResetAll", &FunWindow::masterReset);
}

FunWindow::~FunWindow() = default;

void FunWindow::masterReset()
{
    // Each step is drawn at once, before its wait.
    auto *progress = control<QProgressBar>("Progress");
    progress->setValue(0);
    progress->repaint();
    for (const ResetStep &step : ResetSteps) {
        link().send(ui::text(step.literal));
        environment().wait(ResetSpacingMs);
        progress->setValue(step.progress);
        progress->repaint();
    }
    environment().message(this, QStringLiteral("'Fun' Cvars Reset"));
}

} // namespace korvane::match
