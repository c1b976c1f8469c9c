#include "info/configwindow.h"

#include "console/consolelog.h"
#include "console/formbuilder.h"
#include "console/mainwindow.h"
#include "rcon/rconchannel.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "settings/captions.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Label, "lblConfig", nullptr, 2040, 120, 7455, 255, "Server .config files for ETPro"},
    {Kind::AnswerField, "edtConfig", nullptr, 2040, 435, 7455, 2835},
    {Kind::Field, "edtConfig2", nullptr, 2040, 3390, 2400, 360, ".Config File Name"},
    {Kind::Button, "btnConfig", nullptr, 4560, 3390, 1650, 360, "Load Config"},
    {Kind::Button, "btnGetConfig", nullptr, 6330, 3390, 3165, 360, "Get .config File List"},
};

// The label shows the window's own title entry, as the title bar does.
constexpr captions::Entry Captions[] = {
    {"Config", nullptr},
    {"Config", "lblConfig"},
    {"Config.btnGetConfig", "btnGetConfig"},
    {"Config.btnConfig", "btnConfig"},
    {"Config.edtConfig2", "edtConfig2"},
};

} // namespace

ConfigWindow::ConfigWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "Config", "Select ETPro .config File", 9615, 3870);
    form::build(this, Layout);
    m_field = form::child<QPlainTextEdit>(this, "edtConfig");
    connect(form::child<QPushButton>(this, "btnGetConfig"), &QPushButton::clicked, this, &ConfigWindow::askForList);
    connect(form::child<QPushButton>(this, "btnConfig"), &QPushButton::clicked, this, &ConfigWindow::loadConfig);

    m_endpoint = new RconChannel(this);
    m_endpoint->setObjectName(QStringLiteral("Socket3"));
    connect(m_endpoint, &RconChannel::datagramReceived, this, &ConfigWindow::showDatagram);

    mainWindow().openEndpoint(*m_endpoint);
    askForList();
}

ConfigWindow::~ConfigWindow() = default;

void ConfigWindow::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, Captions);
}

void ConfigWindow::askForList()
{
    m_field->clear();
    m_field->repaint();
    mainWindow().sendCommand(*m_endpoint, u" config");
}

void ConfigWindow::loadConfig()
{
    // The list stays: the server's answer to the load is read after it.
    mainWindow().sendCommand(*m_endpoint, u" config ", form::child<QLineEdit>(this, "edtConfig2")->text());
}

void ConfigWindow::showDatagram(const QByteArray &datagram)
{
    ConsoleLog::appendTo(m_field, rcon::cleanReply(codec::fromWire(datagram)));
}

} // namespace korvane
