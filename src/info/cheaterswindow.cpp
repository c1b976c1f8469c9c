#include "info/cheaterswindow.h"

#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/environment.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QSaveFile>

namespace korvane::info {

namespace {

using ui::Captioned;
using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Label, "lblCheaters", nullptr, 2040, 120, 7455, 255, Captioned},
    {Kind::AnswerField, "edtCheaters", nullptr, 2040, 435, 7455, 2835},
    {Kind::Button, "btnSave", nullptr, 7275, 3390, 2220, 360, Captioned},
};

constexpr ui::WindowDesign Design{.name = "Cheaters",
                                  .title = Captioned,
                                  .width = 9615,
                                  .height = 3870,
                                  .layout = Layout,
                                  .closedByDisconnect = true};

} // namespace

CheatersWindow::CheatersWindow(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    m_answers = new ui::ServerAnswers(this, link(), control<QPlainTextEdit>("edtCheaters"),
                                      QStringLiteral("SocketCheaters"), rcon::cleanCheatersReply);
    onClick("btnSave", &CheatersWindow::save);
    // Asked once per opening; to ask again the window is closed and opened again.
    m_answers->ask(u" cheaters");
}

CheatersWindow::~CheatersWindow() = default;

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
