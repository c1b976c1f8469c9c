#include "console/mainwindow.h"

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
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "settings/aboutwindow.h"
#include "settings/languagechooser.h"
#include "ui/captions.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <array>

namespace korvane::console {

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

MainWindow::MainWindow(ui::Environment environment)
    : m_environment(std::move(environment))
    , m_link([this] { return server(); }, this)
    , m_context{m_link, m_environment}
{
    ui::setUpWindow(this, "Form1", "Korvane", 12255, 8175);
    m_controls = ui::build(this, design::layout());
    m_link.spacing().setSpacing(m_environment.requestSpacingMs);
    m_log = new ui::AnswerField(control<QPlainTextEdit>("Result"));
    control("Picture1")->installEventFilter(this);
    connect(&m_link.endpoint(), &rcon::Endpoint::datagramReceived, this, &MainWindow::handleDatagram);
    wireButtons();
    wireCommandField();
    setPhase(Phase::Disconnected);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

void MainWindow::wireButtons()
{
    const auto onClick = [this](const char *button, auto &&handler) {
        connect(control<QPushButton>(button), &QPushButton::clicked, this, handler);
    };
    onClick("btnConnect", [this] { connectToServer(); });
    onClick("btnDisconnect", [this] { disconnectFromServer(); });
    onClick("Command1", [this] { present(ensure(m_favorites)); });
    onClick("btnOther", [this] { present(ensure(m_gamePlay)); });
    onClick("btnNormalPopup", [this] { openPlayerList(info::PlayerList::Normal); });
    onClick("btnPBPopup", [this] { openPlayerList(info::PlayerList::PunkBuster); });
    onClick("btnCheaters", [this] { present(ensure(m_cheaters)); });
    onClick("btnConfig", [this] { present(ensure(m_config)); });
    ui::connectDirect(m_controls, m_link, design::directCommands());
    for (const design::ConfirmOpener &opener : design::confirmOpeners())
        onClick(opener.button, [this, opener] { openConfirm(opener.action, QStringLiteral("Not applicable")); });
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
    bool ok = false;
    const int port = control<QLineEdit>("edtPort")->text().toInt(&ok);
    return {control<QLineEdit>("edtIP")->text(),
            ok && port > 0 && port <= 65535 ? static_cast<quint16>(port) : quint16(0),
            control<QLineEdit>("edtrconpassword")->text()};
}

void MainWindow::setServerFields(const QString &ip, const QString &port, const QString &password)
{
    control<QLineEdit>("edtIP")->setText(ip);
    control<QLineEdit>("edtPort")->setText(port);
    control<QLineEdit>("edtrconpassword")->setText(password);
}

void MainWindow::setChooser(settings::LanguageChooser *chooser)
{
    m_chooser = chooser;
}

void MainWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void MainWindow::setVisible(bool visible)
{
    if (visible && !m_loaded) {
        m_loaded = true;
        load();
    }
    QWidget::setVisible(visible);
}

void MainWindow::load()
{
    ui::applyCaptions(this, m_controls, m_environment.settings, design::captions());
    m_log->setText(m_log->text());
    sayHistoryFailure(m_recall->load());
    if (m_chooser) {
        if (m_chooser->rememberTicked()) {
            if (const QString failure = m_environment.settings.setRemembered(true); !failure.isEmpty())
                m_environment.message(this, failure);
        }
        m_chooser->close();
    }
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
    // A click while a connect is under way would start a second one in the middle of the first.
    if (m_phase == Phase::Connecting)
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
    setPhase(Phase::Connecting);
    m_link.resolver().resolve(chosen.host, this,
                              [this, port = chosen.port](const QHostAddress &address) { openAndProbe(address, port); });
}

// The waits of a connect keep their length and their place; the window paints and ticks meanwhile.
void MainWindow::openAndProbe(const QHostAddress &address, quint16 port)
{
    m_link.endpoint().open(address, port);
    QTimer::singleShot(300, Qt::PreciseTimer, this, [this, address, port] {
        if (m_link.endpoint().state() == rcon::Endpoint::Open) {
            probe();
            return;
        }
        m_link.endpoint().close();
        QTimer::singleShot(300, Qt::PreciseTimer, this, [this, address, port] {
            m_link.endpoint().open(address, port);
            QTimer::singleShot(2000, Qt::PreciseTimer, this, [this] {
                if (m_link.endpoint().state() == rcon::Endpoint::Open) {
                    probe();
                    return;
                }
                m_log->append(CrLf + QStringLiteral("Error: Korvane could not connect to an ET server"));
                m_link.endpoint().close();
                setPhase(Phase::Disconnected);
            });
        });
    });
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
    const std::array<ui::SecondaryWindow *, 5> withEndpoints = {m_normalPlayers, m_pbPlayers, m_gamePlay, m_cheaters,
                                                                m_config};
    for (ui::SecondaryWindow *window : withEndpoints) {
        if (window && window->endpoint())
            window->endpoint()->close();
    }
    setPhase(Phase::Disconnected);
    m_log->append(CrLf + QStringLiteral("Disconnected from server."));
    // Closed windows are deleted later, so these pointers stay valid through the loop.
    const std::array<QWidget *, 9> toClose = {m_cheaters, m_config,  m_normalPlayers, m_gamePlay, m_pbPlayers,
                                              m_reason,   m_confirm, m_chooser,       m_fun};
    for (QWidget *window : toClose) {
        if (window)
            window->close();
    }
}

void MainWindow::setPhase(Phase phase)
{
    m_phase = phase;
    const bool connected = phase == Phase::Connected;
    if (phase == Phase::Probing || connected)
        control<QLineEdit>("edtState")->setText(connected ? QStringLiteral("1") : QStringLiteral("0"));
    for (const ui::Control &entry : design::layout()) {
        const design::Switch when = design::switchOf(entry);
        if (when != design::Switch::Never)
            control(entry.name)->setEnabled((when == design::Switch::WhileConnected) == connected);
    }
}

template <typename W, typename... Args> W *MainWindow::ensure(QPointer<W> &slot, Args &&...args)
{
    if (!slot) {
        slot = new W(m_context, this, std::forward<Args>(args)...);
        // Forget the window the moment it closes; its deletion comes later.
        connect(slot.data(), &ui::SecondaryWindow::closing, this, [&slot] { slot = nullptr; });
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
    // The favourites window comes back after an add without its language texts, as it always did.
    connect(&dialog, &favorites::AddFavoriteDialog::added, this, [this] { ensure(m_favorites)->showAndRaise(); });
}

void MainWindow::openConfirm(ui::ConfirmAction action, const QString &parameter)
{
    ConfirmDialog *dialog = ensure(m_confirm, [this]() -> std::optional<QString> {
        return m_gamePlay ? std::optional(m_gamePlay->refereeText()) : std::nullopt;
    });
    present(dialog, [&](ConfirmDialog &shown) { shown.setAction(action, parameter); });
}

void MainWindow::openReason(ui::KickAction action)
{
    ReasonDialog *dialog = ensure(m_reason, [this](const char *field) { return control<QLineEdit>(field)->text(); });
    present(dialog, [action](ReasonDialog &shown) { shown.setAction(action); });
}

void MainWindow::openPlayerList(info::PlayerList list)
{
    present(ensure(list == info::PlayerList::Normal ? m_normalPlayers : m_pbPlayers, list));
}

void MainWindow::openAbout()
{
    // The About window takes its one text before it is shown.
    settings::AboutWindow *window = ensure(m_about);
    window->applyCaptions();
    window->showAndRaise();
}

} // namespace korvane::console
