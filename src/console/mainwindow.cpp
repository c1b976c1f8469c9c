#include "console/mainwindow.h"

#include "console/aboutwindow.h"
#include "console/commandrecall.h"
#include "console/confirmdialog.h"
#include "console/consoledesign.h"
#include "console/reasondialog.h"
#include "favorites/addfavoritedialog.h"
#include "favorites/favoriteswindow.h"
#include "info/cheaterswindow.h"
#include "info/configwindow.h"
#include "info/playerlistwindow.h"
#include "match/funwindow.h"
#include "match/gameplaywindow.h"
#include "rcon/serverport.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "ui/answerfield.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace korvane::console {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The endpoint is given time to open before the probe is sent. Should it not be open by then, it is
// closed, rests, and is opened once more with a longer wait.
constexpr int OpenWaitMs = 300;
constexpr int PauseBeforeReopenMs = 300;
constexpr int ReopenWaitMs = 2000;

} // namespace

// The window's context is its own link and environment, made just after the window's base.
MainWindow::MainWindow(ui::Environment environment)
    : Window({m_link, m_environment}, nullptr)
    , m_environment(std::move(environment))
    , m_link([this] { return server(); }, this)
{
    setUp(design::window());
    m_link.spacing().setSpacing(m_environment.requestSpacingMs);
    m_log = new ui::AnswerField(control<QPlainTextEdit>("Result"));
    control("Picture1")->installEventFilter(this);
    connect(&m_link.endpoint(), &rcon::Endpoint::datagramReceived, this, &MainWindow::handleDatagram);
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &MainWindow::afterWait);
    wireButtons();
    wireCommandField();
    setPhase(Phase::Disconnected);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

void MainWindow::wireButtons()
{
    onClick("btnConnect", [this] { connectToServer(); });
    onClick("btnDisconnect", [this] { disconnectFromServer(); });
    onClick("Command1", [this] { present(ensure(m_favorites)); });
    onClick("btnOther", [this] { present(ensure(m_gamePlay)); });
    onClick("btnNormalPopup", [this] { openPlayerList(info::PlayerList::Normal); });
    onClick("btnPBPopup", [this] { openPlayerList(info::PlayerList::PunkBuster); });
    onClick("btnCheaters", [this] { present(ensure(m_cheaters)); });
    onClick("btnConfig", [this] { present(ensure(m_config)); });
    ui::connectDirect(controls(), m_link, design::directCommands());
    for (const design::ConfirmOpener &opener : design::confirmOpeners())
        onClick(opener.button, [this, opener] { openConfirm(opener.action); });
    for (const design::KickOpener &opener : design::kickOpeners())
        onClick(opener.button, [this, opener] { openReason(opener.action); });
}

// The free-form command field keeps a history, and Return in it sends as "Send Command" does.
void MainWindow::wireCommandField()
{
    auto *field = control<QLineEdit>("edtAdditional");
    auto *button = control<QPushButton>("btnAdditional");
    m_recall = new CommandRecall(field, m_environment.settings.locations().historyFile(), this);
    connect(field, &QLineEdit::returnPressed, button, &QPushButton::click);
    connect(button, &QPushButton::clicked, this, [this] { sayHistoryFailure(m_recall->sent()); });
}

void MainWindow::sayHistoryFailure(const QString &failure)
{
    if (failure.isEmpty() || m_historyFailureSaid)
        return;
    m_historyFailureSaid = true;
    m_environment.message(this, failure);
}

rcon::Server MainWindow::server() const
{
    return {control<QLineEdit>("edtIP")->text(), rcon::parsePort(control<QLineEdit>("edtPort")->text()).value_or(0),
            control<QLineEdit>("edtrconpassword")->text()};
}

void MainWindow::setServerFields(const QString &ip, const QString &port, const QString &password)
{
    control<QLineEdit>("edtIP")->setText(ip);
    control<QLineEdit>("edtPort")->setText(port);
    control<QLineEdit>("edtrconpassword")->setText(password);
}

// The first showing is drawn in the language at once; the history is read once the window stands, so
// that a message about it has the window behind it.
void MainWindow::setVisible(bool visible)
{
    const bool first = visible && !m_loaded;
    if (first) {
        m_loaded = true;
        applyCaptions();
        m_log->setText(m_log->text());
    }
    QWidget::setVisible(visible);
    if (first)
        sayHistoryFailure(m_recall->load());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the console ends the program, whatever else is open.
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == control("Picture1")) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            openAbout();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::connectToServer()
{
    // A click while a connect finds and opens would start a second one in the middle of the first; a
    // connect that waits for the probe's answer may be started again.
    if (m_phase != Phase::Disconnected && m_phase != Phase::Probing)
        return;
    const rcon::Server chosen = server();
    if (chosen.host.isEmpty() || control<QLineEdit>("edtPort")->text().isEmpty() || chosen.password.isEmpty()) {
        m_environment.message(this, QStringLiteral("Please enter values for all server fields!"));
        return;
    }
    if (chosen.port == 0) {
        m_environment.message(this, QStringLiteral("The server port must be a whole number from 1 to 65535."));
        return;
    }
    m_log->append(CrLf + CrLf + QStringLiteral("Connecting..."));
    setPhase(Phase::Resolving);
    m_link.resolver().resolve(chosen.host, this,
                              [this, port = chosen.port](const QHostAddress &address) { open(address, port); });
}

// Each step of a connect is taken when the wait of the one before is over; the window paints and
// ticks meanwhile.
void MainWindow::open(const QHostAddress &address, quint16 port)
{
    m_address = address;
    m_port = port;
    m_link.endpoint().open(address, port);
    setPhase(Phase::Opening);
    m_wait.start(OpenWaitMs);
}

void MainWindow::afterWait()
{
    const bool open = m_link.endpoint().state() == rcon::Endpoint::Open;
    switch (m_phase) {
    case Phase::Opening:
        if (open)
            return probe();
        m_link.endpoint().close();
        setPhase(Phase::Pausing);
        m_wait.start(PauseBeforeReopenMs);
        return;
    case Phase::Pausing:
        m_link.endpoint().open(m_address, m_port);
        setPhase(Phase::Reopening);
        m_wait.start(ReopenWaitMs);
        return;
    case Phase::Reopening:
        if (open)
            return probe();
        m_log->append(CrLf + QStringLiteral("Error: Korvane could not connect to an ET server"));
        m_link.endpoint().close();
        setPhase(Phase::Disconnected);
        return;
    default:
        return;
    }
}

void MainWindow::probe()
{
    m_link.endpoint().send(rcon::statusProbe());
    setPhase(Phase::Probing);
}

void MainWindow::handleDatagram(const QByteArray &datagram)
{
    const QString cleaned = rcon::cleanReply(rcon::fromWire(datagram));
    m_log->appendAnswer(CrLf + cleaned);
    if (m_phase == Phase::Probing)
        decideStatus(cleaned);
}

void MainWindow::decideStatus(const QString &cleaned)
{
    if (rcon::namesEtServer(cleaned)) {
        m_log->append(CrLf + QStringLiteral("Korvane Client: Server running ET") + CrLf);
        setPhase(Phase::Connected);
    } else {
        m_log->append(CrLf + QStringLiteral("Korvane Client: Server does not appear to be running ET") + CrLf);
        m_link.endpoint().close();
        setPhase(Phase::Disconnected);
    }
}

void MainWindow::disconnectFromServer()
{
    m_log->append(CrLf + QStringLiteral("Disconnecting..."));
    m_link.endpoint().close();
    // Every window that commands the server goes with the connection, and its endpoint with it.
    // Closed windows are deleted later: those closed before are hidden and left alone.
    for (ui::Window *window : findChildren<ui::Window *>(Qt::FindDirectChildrenOnly)) {
        if (window->isClosedByDisconnect() && window->isVisible())
            window->close();
    }
    setPhase(Phase::Disconnected);
    m_log->append(CrLf + QStringLiteral("Disconnected from server."));
}

void MainWindow::setPhase(Phase phase)
{
    m_phase = phase;
    const bool connected = phase == Phase::Connected;
    if (phase == Phase::Probing || connected)
        control<QLineEdit>("edtState")->setText(connected ? QStringLiteral("1") : QStringLiteral("0"));
    for (const ui::Control &entry : design::window().layout) {
        const design::Switch when = design::switchOf(entry);
        if (when != design::Switch::Never)
            control(entry.name)->setEnabled((when == design::Switch::WhileConnected) == connected);
    }
}

template <typename W, typename... Args> W *MainWindow::ensure(QPointer<W> &slot, Args &&...args)
{
    if (!slot) {
        slot = new W(ui::Context{m_link, m_environment}, this, std::forward<Args>(args)...);
        // Forget the window the moment it closes; its deletion comes later.
        connect(slot.data(), &ui::Window::closing, this, [&slot] { slot = nullptr; });
        wire(*slot);
    }
    return slot;
}

// Creates the window or reuses the open one, shows it and brings it to the front, lets the opener set
// its own texts, then applies the language texts.
template <typename W, typename Prepare> void MainWindow::present(W *window, Prepare &&prepare)
{
    window->showAndRaise();
    prepare(*window);
    window->applyCaptions();
}

template <typename W> void MainWindow::present(W *window)
{
    present(window, [](W &) {});
}

void MainWindow::wire(match::GamePlayWindow &window)
{
    connect(&window, &match::GamePlayWindow::funRequested, this, [this] { present(ensure(m_fun)); });
    connect(&window, &match::GamePlayWindow::confirmRequested, this, &MainWindow::openConfirm);
}

void MainWindow::wire(favorites::FavoritesWindow &window)
{
    connect(&window, &favorites::FavoritesWindow::serverChosen, this, [this](const favorites::FavoriteServer &chosen) {
        setServerFields(chosen.ip, chosen.port, chosen.rconPassword);
        showAndRaise();
    });
    connect(&window, &favorites::FavoritesWindow::addRequested, this, [this] { present(ensure(m_addFavorite)); });
}

void MainWindow::wire(favorites::AddFavoriteDialog &dialog)
{
    // The favourites window comes back after an add, its list read afresh.
    connect(&dialog, &favorites::AddFavoriteDialog::added, this, [this] { present(ensure(m_favorites)); });
}

void MainWindow::wire(ConfirmDialog &dialog)
{
    connect(&dialog, &ConfirmDialog::confirmed, this, &MainWindow::sendConfirmed);
}

void MainWindow::wire(ReasonDialog &dialog)
{
    connect(&dialog, &ReasonDialog::proceeded, this, &MainWindow::sendKick);
}

std::optional<QString> MainWindow::refereeText() const
{
    return m_gamePlay ? std::optional(m_gamePlay->refereeText()) : std::nullopt;
}

void MainWindow::openConfirm(ConfirmAction action)
{
    // Referee rights name the player of the referee field as it is now; it is read again at "Yes".
    const QString parameter = rowOf(ConfirmActions, action).takesReferee
                                  ? QStringLiteral("Player ID Number: ") + refereeText().value_or(QString())
                                  : QStringLiteral("Not applicable");
    present(ensure(m_confirm), [&](ConfirmDialog &shown) { shown.setAction(action, parameter); });
}

void MainWindow::sendConfirmed(ConfirmAction action)
{
    const ConfirmRow &row = rowOf(ConfirmActions, action);
    const QString literal = ui::text(row.literal);
    if (!row.takesReferee)
        m_link.send(literal);
    else if (const std::optional<QString> referee = refereeText())
        m_link.send(literal, *referee);
    // Without the game play window there is no referee field to read: nothing is sent, and the window
    // is not brought back just for this.
}

void MainWindow::openReason(KickAction action)
{
    present(ensure(m_reason), [action](ReasonDialog &shown) { shown.setAction(action); });
}

void MainWindow::sendKick(KickAction action, const QString &length, const QString &reason)
{
    const KickRow &row = rowOf(KickActions, action);
    // The target is read now: it may have been edited while the dialog was open.
    QString parameter = control<QLineEdit>(row.target)->text();
    const QChar blank = u' ';
    if (row.tail == Tail::LengthAndReason)
        parameter += blank + length;
    if (row.tail != Tail::None)
        parameter += blank + reason;
    m_link.send(ui::text(row.literal), parameter);
}

void MainWindow::openPlayerList(info::PlayerList list)
{
    present(ensure(list == info::PlayerList::Normal ? m_normalPlayers : m_pbPlayers, list));
}

void MainWindow::openAbout()
{
    // The About window takes its one text before it is shown.
    AboutWindow *window = ensure(m_about);
    window->applyCaptions();
    window->showAndRaise();
}

} // namespace korvane::console
