#include "info/configwindow.h"

#include "rcon/serverlink.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/answerfield.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace korvane::info {

namespace {

using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Label, "lblConfig", nullptr, 2040, 120, 7455, 255, "Server .config files for ETPro"},
    {Kind::AnswerField, "edtConfig", nullptr, 2040, 435, 7455, 2835},
    {Kind::Field, "edtConfig2", nullptr, 2040, 3390, 2400, 360, ".Config File Name"},
    {Kind::Button, "btnConfig", nullptr, 4560, 3390, 1650, 360, "Load Config"},
    {Kind::Button, "btnGetConfig", nullptr, 6330, 3390, 3165, 360, "Get .config File List"},
};

// The label shows the window's own title entry, as the title bar does.
constexpr ui::Caption Captions[] = {
    {"Config"}, {"Config", "lblConfig"}, {"Config.btnGetConfig"}, {"Config.btnConfig"}, {"Config.edtConfig2"},
};

} // namespace

ConfigWindow::ConfigWindow(const ui::Context &context, QWidget *owner)
    : SecondaryWindow(context, owner)
    , m_endpoint(new rcon::Endpoint(QStringLiteral("Socket3"), this))
{
    setUp("Config", "Select ETPro .config File", 9615, 3870, Layout, Captions);
    m_answers = new ui::AnswerField(control<QPlainTextEdit>("edtConfig"));
    onClick("btnGetConfig", &ConfigWindow::askForList);
    onClick("btnConfig", &ConfigWindow::loadConfig);

    connect(m_endpoint, &rcon::Endpoint::datagramReceived, this, &ConfigWindow::showDatagram);
    link().open(*m_endpoint);
    askForList();
}

ConfigWindow::~ConfigWindow() = default;

void ConfigWindow::askForList()
{
    m_answers->clear();
    link().send(*m_endpoint, u" config");
}

void ConfigWindow::loadConfig()
{
    // The list stays: the server's answer to the load is read after it.
    link().send(*m_endpoint, u" config ", control<QLineEdit>("edtConfig2")->text());
}

void ConfigWindow::showDatagram(const QByteArray &datagram)
{
    m_answers->appendAnswer(rcon::cleanReply(rcon::fromWire(datagram)));
}

} // namespace korvane::info
