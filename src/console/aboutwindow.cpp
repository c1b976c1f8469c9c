#include "console/aboutwindow.h"

#include "ui/environment.h"

#include <QPushButton>

namespace korvane::console {

namespace {

using ui::Captioned;
using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 7575, 975, ":/korvane/logo.png"},
    {Kind::Label, "Label9", nullptr, 120, 1200, 7575, 255, "Version 1.00"},
    {Kind::Label, "Label1", nullptr, 120, 1560, 7575, 255, "Written by the Korvane developers."},
    {Kind::Label, "Label2", nullptr, 120, 1815, 7575, 255,
     "A remote console for Wolfenstein: Enemy Territory servers running ETPro and PunkBuster."},
    {Kind::Label, "Label3", nullptr, 120, 2190, 7575, 255, "Tested by the admins of the Korvane test servers."},
    {Kind::Label, "Label4", nullptr, 120, 2445, 7575, 255,
     "French, German and Dutch texts by volunteers from the Korvane community."},
    {Kind::Label, "Label5", nullptr, 120, 2820, 7575, 255, "Thanks to every server admin who sent in bug reports,"},
    {Kind::Label, "Label6", nullptr, 120, 3075, 7575, 255,
     "ideas and server logs, and to the players on their servers"},
    {Kind::Label, "Label7", nullptr, 120, 3330, 7575, 255, "who put up with our testing."},
    {Kind::Label, "Label8", nullptr, 120, 3705, 7575, 255, "Korvane is free to use. Play fair!"},
    {Kind::BoldButton, "btnChangeLanguage", nullptr, 120, 4140, 7575, 495, Captioned},
};

// The title and the credits stay in English.
constexpr ui::WindowDesign Design{
    .name = "About", .title = "About Korvane", .width = 7815, .height = 4755, .layout = Layout};

} // namespace

AboutWindow::AboutWindow(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    onClick("btnChangeLanguage", &AboutWindow::resetLanguage);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::resetLanguage()
{
    // Takes effect at the next start, when the chooser asks again; the open windows keep their texts.
    if (const QString failure = environment().settings.store(QStringLiteral("english"), false); !failure.isEmpty())
        environment().message(this, failure);
    environment().message(this, QStringLiteral("Language Reset"));
}

} // namespace korvane::console
