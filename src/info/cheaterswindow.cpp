#include "info/cheaterswindow.h"

#include "rcon/serverlink.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/answerfield.h"
#include "ui/environment.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>

namespace korvane::info {

namespace {

using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Label, "lblCheaters", nullptr, 2040, 120, 7455, 255, "ETPro \"/cheaters\" List with ETPro GUIDs"},
    {Kind::AnswerField, "edtCheaters", nullptr, 2040, 435, 7455, 2835},
    {Kind::Button, "btnSave", nullptr, 7275, 3390, 2220, 360, "Save List"},
};

constexpr ui::Caption Captions[] = {{"Cheaters"}, {"Cheaters.lblCheaters"}, {"Cheaters.btnSave"}};

} // namespace

CheatersWindow::CheatersWindow(const ui::Context &context, QWidget *owner)
    : SecondaryWindow(context, owner)
    , m_endpoint(new rcon::Endpoint(QStringLiteral("SocketCheaters"), this))
{
    setUp("Cheaters", "ETPro \"/cheaters\" List with ETPro GUIDs", 9615, 3870, Layout, Captions);
    m_answers = new ui::AnswerField(control<QPlainTextEdit>("edtCheaters"));
    onClick("btnSave", &CheatersWindow::save);

    connect(m_endpoint, &rcon::Endpoint::datagramReceived, this, &CheatersWindow::showDatagram);
    // Asked once per opening; to ask again the window is closed and opened again.
    link().open(*m_endpoint);
    m_answers->clear();
    link().send(*m_endpoint, u" cheaters");
}

CheatersWindow::~CheatersWindow() = default;

void CheatersWindow::showDatagram(const QByteArray &datagram)
{
    m_answers->appendAnswer(rcon::cleanCheatersReply(rcon::fromWire(datagram)));
}

void CheatersWindow::save()
{
    ui::Environment &environment = this->environment();
    const QString chosen = environment.saveFileName(this);
    if (chosen.isEmpty())
        return;
    // Always appended, even to a name that already ends in ".txt": the list is always a new text file
    // next to whatever the user named.
    const QString fileName = chosen + QStringLiteral(".txt");

    QSaveFile file(fileName);
    // A file the user may replace in a folder where no temporary file can be made is still written.
    file.setDirectWriteFallback(true);
    const QString text = m_answers->text() + QStringLiteral("\r\n");
    const QByteArray contents = rcon::toWire(text);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit())
        return;
    // Reported rather than dropped: the list on screen may be all the user has of it.
    environment.message(this, QStringLiteral("The list could not be saved to %1:\r\n%2")
                                  .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

} // namespace korvane::info
