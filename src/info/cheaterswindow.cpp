#include "info/cheaterswindow.h"

#include "console/consolelog.h"
#include "console/formbuilder.h"
#include "console/mainwindow.h"
#include "rcon/rconchannel.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "settings/captions.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Label, "lblCheaters", nullptr, 2040, 120, 7455, 255, "ETPro \"/cheaters\" List with ETPro GUIDs"},
    {Kind::AnswerField, "edtCheaters", nullptr, 2040, 435, 7455, 2835},
    {Kind::Button, "btnSave", nullptr, 7275, 3390, 2220, 360, "Save List"},
};

constexpr captions::Entry Captions[] = {
    {"Cheaters", nullptr},
    {"Cheaters.lblCheaters", "lblCheaters"},
    {"Cheaters.btnSave", "btnSave"},
};

} // namespace

CheatersWindow::CheatersWindow(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "Cheaters", "ETPro \"/cheaters\" List with ETPro GUIDs", 9615, 3870);
    form::build(this, Layout);
    m_field = form::child<QPlainTextEdit>(this, "edtCheaters");
    connect(form::child<QPushButton>(this, "btnSave"), &QPushButton::clicked, this, &CheatersWindow::save);

    m_endpoint = new RconChannel(this);
    m_endpoint->setObjectName(QStringLiteral("SocketCheaters"));
    connect(m_endpoint, &RconChannel::datagramReceived, this, &CheatersWindow::showDatagram);

    // Asked once per opening; to ask again the window is closed and opened again.
    mainWindow().openEndpoint(*m_endpoint);
    m_field->clear();
    m_field->repaint();
    mainWindow().sendCommand(*m_endpoint, u" cheaters");
}

CheatersWindow::~CheatersWindow() = default;

void CheatersWindow::applyCaptions()
{
    captions::apply(this, mainWindow().environment().folder, Captions);
}

void CheatersWindow::showDatagram(const QByteArray &datagram)
{
    ConsoleLog::appendTo(m_field, rcon::cleanCheatersReply(codec::fromWire(datagram)));
}

void CheatersWindow::save()
{
    Environment &environment = mainWindow().environment();
    const QString chosen = environment.saveFileName(this);
    if (chosen.isEmpty())
        return;
    // Always appended, even to a name that already ends in ".txt": the list is always a new text file
    // next to whatever the user named.
    const QString fileName = chosen + QStringLiteral(".txt");

    QSaveFile file(fileName);
    // A file the user may replace in a folder where no temporary file can be made is still written.
    file.setDirectWriteFallback(true);
    const QString text = ConsoleLog::textOf(m_field) + QStringLiteral("\r\n");
    const QByteArray contents = codec::toWire(text);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit())
        return;
    // Reported rather than dropped: the list on screen may be all the user has of it.
    environment.message(this, QStringLiteral("The list could not be saved to %1:\r\n%2")
                                  .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

} // namespace korvane
