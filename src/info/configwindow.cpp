#include "info/configwindow.h"

#include "rcon/wireformat.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace korvane::info {

namespace {

using ui::Captioned;
using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    // The label shows the window's own title entry, as the title bar does.
    {Kind::Label, "lblConfig", nullptr, 2040, 120, 7455, 255, ui::captionedAs("Config")},
    {Kind::AnswerField, "edtConfig", nullptr, 2040, 435, 7455, 2835},
    {Kind::Field, "edtConfig2", nullptr, 2040, 3390, 2400, 360, Captioned},
    {Kind::Button, "btnConfig", nullptr, 4560, 3390, 1650, 360, Captioned},
    {Kind::Button, "btnGetConfig", nullptr, 6330, 3390, 3165, 360, Captioned},
};

constexpr ui::WindowDesign Design{
    .name = "Config", .title = Captioned, .width = 9615, .height = 3870, .layout = Layout, .closedByDisconnect = true};

} // namespace

ConfigWindow::ConfigWindow(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    m_answers = new ui::ServerAnswers(this, link(), control<QPlainTextEdit>("edtConfig"), QStringLiteral("Socket3"),
                                      rcon::cleanReply);
    onClick("btnGetConfig", &ConfigWindow::askForList);
    onClick("btnConfig", &ConfigWindow::loadConfig);
    askForList();
}

ConfigWindow::~ConfigWindow() = default;

void ConfigWindow::askForList()
{
    m_answers->ask(u" config");
}

void ConfigWindow::loadConfig()
{
    // The list stays: the server's answer to the load is read after it.
    m_answers->send(u" config ", control<QLineEdit>("edtConfig2")->text());
}

} // namespace korvane::info
