#include "console/mainwindow.h"

#include "console/commandbuttons.h"
#include "console/confirmdialog.h"
#include "console/formbuilder.h"
#include "console/reasondialog.h"
#include "favorites/addfavoritedialog.h"
#include "favorites/favoriteswindow.h"
#include "info/cheaterswindow.h"
#include "info/configwindow.h"
#include "info/playerlistwindow.h"
#include "match/funwindow.h"
#include "match/gameplaywindow.h"
#include "rcon/rconchannel.h"
#include "rcon/textcodec.h"
#include "rcon/wireformat.h"
#include "settings/aboutwindow.h"
#include "settings/captions.h"
#include "settings/languagechooser.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <array>

namespace korvane {

namespace {

using form::Kind;

const QString CrLf = QStringLiteral("\r\n");

// Frame positions and sizes are the design's; the controls inside the frames are ours.
constexpr form::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 7575, 975, ":/korvane/logo.png"},
    {Kind::AnswerField, "Result", nullptr, 120, 1200, 7575, 3375,
     "Korvane Client: Korvane loaded.\r\nKorvane Client: Enter/select server details and Connect to login.\r\n \r\n"},

    {Kind::Frame, "Frame1", nullptr, 7800, 0, 4335, 2295, "Server Properties"},
    {Kind::Label, "lblIP", "Frame1", 120, 270, 1800, 255, "Server IP Address:"},
    {Kind::Field, "edtIP", "Frame1", 1980, 240, 2220, 315},
    {Kind::Label, "lblPort", "Frame1", 120, 630, 1800, 255, "Server Port:"},
    {Kind::Field, "edtPort", "Frame1", 1980, 600, 2220, 315},
    {Kind::Label, "lblRconPassword", "Frame1", 120, 990, 1860, 255, "Server Rcon Password:"},
    {Kind::PasswordField, "edtrconpassword", "Frame1", 1980, 960, 2220, 315},
    {Kind::Button, "btnConnect", "Frame1", 120, 1380, 2010, 375, "Connect To Server"},
    {Kind::Button, "btnDisconnect", "Frame1", 2190, 1380, 2010, 375, "Disconnect From Server"},
    {Kind::Button, "Command1", "Frame1", 120, 1830, 4080, 375, "Favorites List"},

    {Kind::Frame, "Frame6", nullptr, 7800, 2400, 4335, 1335, "Player Lists"},
    {Kind::Button, "btnPlayers", "Frame6", 120, 240, 2010, 330, "Get Normal Players List"},
    {Kind::Button, "btnPBPlayers", "Frame6", 2190, 240, 2010, 330, "Get PB Players List"},
    {Kind::Button, "btnNormalPopup", "Frame6", 120, 600, 2010, 330, "Normal Players Popup"},
    {Kind::Button, "btnPBPopup", "Frame6", 2190, 600, 2010, 330, "PB Players Popup List"},
    {Kind::Button, "btnCheaters", "Frame6", 120, 960, 4080, 330, "ETPro \"/cheaters\" list with ETPro GUIDs"},

    {Kind::Frame, "Frame3", nullptr, 7800, 3840, 4335, 1335, "Common PunkBuster Commands"},
    {Kind::Button, "btnPBSS", "Frame3", 120, 240, 2700, 330, "PB ScreenShot of Slot #"},
    {Kind::Field, "edtPBSS", "Frame3", 2880, 240, 1320, 330, "Client PB Slot #"},
    {Kind::Button, "btnAList", "Frame3", 120, 600, 2700, 330, "Get Player Alias List"},
    {Kind::Field, "edtAList", "Frame3", 2880, 600, 1320, 330, "Client PB Slot #"},
    {Kind::Button, "btnIPGuard", "Frame3", 120, 960, 2700, 330, "Add Suspicious IP To IP Guard List"},
    {Kind::Field, "edtIPGuard", "Frame3", 2880, 960, 1320, 330, "Client PB Slot #"},

    {Kind::Frame, "Frame5", nullptr, 7800, 5280, 4335, 1335, "Managing Bans"},
    {Kind::Button, "btnBanList", "Frame5", 120, 240, 2010, 330, "Retrieve PB Ban List"},
    {Kind::Button, "btnUnbanAll", "Frame5", 2190, 240, 2010, 330, "Clear Bans From Memory"},
    {Kind::Button, "btnUnbanID", "Frame5", 120, 600, 2700, 330, "Unban By BanID #"},
    {Kind::Field, "edtBanID", "Frame5", 2880, 600, 1320, 330, "Ban ID #"},
    {Kind::Button, "btnUnbanGUID", "Frame5", 120, 960, 2700, 330, "Unban By GUID"},
    {Kind::Field, "edtBanGUID", "Frame5", 2880, 960, 1320, 330, "Client GUID"},

    {Kind::Frame, "Frame7", nullptr, 120, 4560, 7575, 615, "Send Custom/Additional/Game Play Commands"},
    {Kind::Button, "btnAdditional", "Frame7", 120, 210, 1500, 330, "Send Command"},
    {Kind::Field, "edtAdditional", "Frame7", 1680, 210, 3300, 330, "Type command here."},
    {Kind::Button, "btnOther", "Frame7", 5040, 210, 2415, 330, "Show Game Play Commands"},

    {Kind::Frame, "Frame2", nullptr, 120, 5280, 7575, 1335, "Basic Commands"},
    {Kind::Button, "btnRestartServer", "Frame2", 120, 240, 1800, 330, "Restart Server"},
    {Kind::Button, "btnKill", "Frame2", 1950, 240, 1800, 330, "Kill The Server"},
    {Kind::Button, "btnUnlock", "Frame2", 3780, 240, 1800, 330, "UnLock The Server"},
    {Kind::Button, "btnConfig", "Frame2", 5610, 240, 1845, 330, "Load \".Config\" File"},
    {Kind::Button, "btnExec", "Frame2", 120, 600, 2100, 330, "Load Specified \".cfg\" File"},
    {Kind::Field, "edtExec", "Frame2", 2250, 600, 1500, 330, ".cfg File Name"},
    {Kind::Button, "btnChangePass", "Frame2", 3780, 600, 2100, 330, "Password Lock The Server"},
    {Kind::Field, "edtChangePass", "Frame2", 5910, 600, 1545, 330, "Password"},
    {Kind::Button, "btnSay", "Frame2", 120, 960, 2100, 330, "Broadcast Message"},
    {Kind::Field, "edtSay", "Frame2", 2250, 960, 5205, 330, "Type the message you want to be shown in global chat."},
    {Kind::HiddenField, "edtState", "Frame2", 0, 0, 0, 0, "0"},

    {Kind::Frame, "Frame4", nullptr, 120, 6720, 12015, 1335, "Kicking/Banning"},
    {Kind::Button, "btnKick", "Frame4", 120, 240, 2130, 330, "Kick By ID Number"},
    {Kind::Field, "edtSlot1", "Frame4", 2310, 240, 1710, 330, "Client ID #"},
    {Kind::Button, "btnNameKick", "Frame4", 120, 600, 2130, 330, "Kick By Name"},
    {Kind::Field, "edtSlot3", "Frame4", 2310, 600, 1710, 330, "Client Name"},
    {Kind::Button, "btnBan", "Frame4", 120, 960, 2130, 330, "Ban By Name"},
    {Kind::Field, "edtSlot2", "Frame4", 2310, 960, 1710, 330, "Client Name"},
    {Kind::Button, "btnPBKickNum", "Frame4", 4080, 240, 2130, 330, "PB Kick By Slot #"},
    {Kind::Field, "edtSlot4", "Frame4", 6270, 240, 1710, 330, "Client PB Slot #"},
    {Kind::Button, "btnPBKick", "Frame4", 4080, 600, 2130, 330, "PB Kick By Name"},
    {Kind::Field, "edtSlot5", "Frame4", 6270, 600, 1710, 330, "Client Name"},
    {Kind::Button, "btnPBBan", "Frame4", 4080, 960, 2130, 330, "PB Ban By Name"},
    {Kind::Field, "edtSlot6", "Frame4", 6270, 960, 1710, 330, "Client Name"},
    {Kind::Button, "btnPBBanSlot", "Frame4", 8040, 240, 2130, 330, "PB Ban By Slot #"},
    {Kind::Field, "edtSlot8", "Frame4", 10230, 240, 1710, 330, "Client PB Slot #"},
    {Kind::Button, "btnPBBanGUID", "Frame4", 8040, 600, 2130, 330, "PB Ban By GUID"},
    {Kind::Field, "edtSlot7", "Frame4", 10230, 600, 1710, 330, "Client GUID"},
    {Kind::Button, "btnPBBanMask", "Frame4", 8040, 960, 2130, 330, "PB Ban By IP"},
    {Kind::Field, "edtPBBanmask", "Frame4", 10230, 960, 1710, 330, "Client IP Address"},
};

// The language texts of the main window, in the order they are applied at start-up.
constexpr captions::Entry Captions[] = {
    {"Form1.Frame1", "Frame1"},
    {"Form1.Result", "Result"},
    {"Form1.Command1", "Command1"},
    {"Form1.lblIP", "lblIP"},
    {"Form1.lblPort", "lblPort"},
    {"Form1.lbllblRconPassword", "lblRconPassword"},
    {"Form1.btnConnect", "btnConnect"},
    {"Form1.btnDisconnect", "btnDisconnect"},
    {"Form1.Frame6", "Frame6"},
    {"Form1.btnPlayers", "btnPlayers"},
    {"Form1.btnPBPlayers", "btnPBPlayers"},
    {"Form1.btnNormalPopup", "btnNormalPopup"},
    {"Form1.btnPBPopup", "btnPBPopup"},
    {"Form1.btnCheaters", "btnCheaters"},
    {"Form1.Frame3", "Frame3"},
    {"Form1.btnPBSS", "btnPBSS"},
    {"Form1.edtPBSS", "edtPBSS"},
    {"Form1.btnAList", "btnAList"},
    {"Form1.edtAList", "edtAList"},
    {"Form1.btnIPGuard", "btnIPGuard"},
    {"Form1.edtIPGuard", "edtIPGuard"},
    {"Form1.Frame7", "Frame7"},
    {"Form1.btnAdditional", "btnAdditional"},
    {"Form1.edtAdditional", "edtAdditional"},
    {"Form1.btnOther", "btnOther"},
    {"Form1.Frame2", "Frame2"},
    {"Form1.btnExec", "btnExec"},
    {"Form1.edtExec", "edtExec"},
    {"Form1.btnChangePass", "btnChangePass"},
    {"Form1.edtChangePass", "edtChangePass"},
    {"Form1.btnRestartServer", "btnRestartServer"},
    {"Form1.btnKill", "btnKill"},
    {"Form1.btnUnlock", "btnUnlock"},
    {"Form1.btnConfig", "btnConfig"},
    {"Form1.btnSay", "btnSay"},
    {"Form1.edtSay", "edtSay"},
    {"Form1.Frame5", "Frame5"},
    {"Form1.btnBanList", "btnBanList"},
    {"Form1.btnUnbanAll", "btnUnbanAll"},
    {"Form1.btnUnbanID", "btnUnbanID"},
    {"Form1.edtBanID", "edtBanID"},
    {"Form1.btnUnbanGUID", "btnUnbanGUID"},
    {"Form1.edtBanGUID", "edtBanGUID"},
    {"Form1.Frame4", "Frame4"},
    {"Form1.btnKick", "btnKick"},
    {"Form1.edtSlot1", "edtSlot1"},
    {"Form1.btnNameKick", "btnNameKick"},
    {"Form1.edtSlot3", "edtSlot3"},
    {"Form1.btnBan", "btnBan"},
    {"Form1.edtSlot2", "edtSlot2"},
    {"Form1.btnPBKickNum", "btnPBKickNum"},
    {"Form1.edtSlot4", "edtSlot4"},
    {"Form1.btnPBKick", "btnPBKick"},
    {"Form1.edtSlot5", "edtSlot5"},
    {"Form1.btnPBBan", "btnPBBan"},
    {"Form1.edtSlot6", "edtSlot6"},
    {"Form1.btnPBBanSlot", "btnPBBanSlot"},
    {"Form1.edtSlot8", "edtSlot8"},
    {"Form1.edtSlot7", "edtSlot7"},
    {"Form1.btnPBBanMask", "btnPBBanMask"},
    {"Form1.edtPBBanmask", "edtPBBanmask"},
};
static_assert(std::size(Captions) == 61);

// Buttons that send at once: the literal, then the field's text as it stands.
constexpr commands::Direct DirectCommands[] = {
    {"btnPlayers", " status", nullptr},
    {"btnPBPlayers", " pb_sv_plist", nullptr},
    {"btnPBSS", " pb_sv_getss ", "edtPBSS"},
    {"btnAList", " PB_SV_AList ", "edtAList"},
    {"btnIPGuard", " PB_SV_IPGuard ", "edtIPGuard"},
    {"btnBanList", " pb_sv_banlist", nullptr},
    {"btnUnbanID", " pb_sv_unban ", "edtBanID"},
    {"btnUnbanGUID", " pb_sv_unbanguid ", "edtBanGUID"},
    {"btnAdditional", " ", "edtAdditional"},
    {"btnUnlock", " g_password \"", nullptr},
    {"btnExec", " exec ", "edtExec"},
    {"btnSay", " say ", "edtSay"},
    {"btnChangePass", " g_password ", "edtChangePass"},
};

// Buttons that ask for confirmation first.
struct ConfirmOpener {
    const char *button;
    const char *action;
};
constexpr ConfirmOpener ConfirmOpeners[] = {
    {"btnKill", "Kill the server"},
    {"btnRestartServer", "Restart server"},
    {"btnUnbanAll", "Clear bans from memory"},
};

// Kick and ban buttons: the reason dialog, with its fields enabled or not.
struct ReasonOpener {
    const char *button;
    const char *action;
    bool reason;
    bool length;
};
constexpr ReasonOpener ReasonOpeners[] = {
    {"btnKick", "Kick By ID Number", false, false},    {"btnNameKick", "Kick By Name", false, false},
    {"btnBan", "Ban By Name", false, false},           {"btnPBKickNum", "PB Kick By Slot #", true, true},
    {"btnPBKick", "PB Kick By Name", true, true},      {"btnPBBan", "PB Ban By Name", true, false},
    {"btnPBBanSlot", "PB Ban By Slot #", true, false}, {"btnPBBanGUID", "PB Ban By GUID", false, false},
    {"btnPBBanMask", "PB Ban By IP", false, false},
};

// Enabled only while connected.
constexpr const char *ConnectedSet[] = {
    "btnDisconnect",
    // Command text fields.
    "edtAdditional",
    "edtPBSS",
    "edtAList",
    "edtIPGuard",
    "edtChangePass",
    "edtExec",
    "edtSay",
    "edtBanID",
    "edtBanGUID",
    "edtSlot1",
    "edtSlot3",
    "edtSlot2",
    "edtSlot4",
    "edtSlot5",
    "edtSlot6",
    "edtSlot7",
    "edtSlot8",
    "edtPBBanmask",
    // Command buttons.
    "btnAdditional",
    "btnOther",
    "btnPBSS",
    "btnAList",
    "btnIPGuard",
    "btnBanList",
    "btnUnbanAll",
    "btnUnbanID",
    "btnUnbanGUID",
    "btnRestartServer",
    "btnKill",
    "btnExec",
    "btnSay",
    "btnChangePass",
    "btnUnlock",
    "btnConfig",
    "btnPlayers",
    "btnKick",
    "btnNameKick",
    "btnBan",
    "btnPBPlayers",
    "btnPBKickNum",
    "btnPBKick",
    "btnPBBan",
    "btnPBBanSlot",
    "btnPBBanGUID",
    "btnPBBanMask",
    "btnPBPopup",
    "btnNormalPopup",
    "btnCheaters",
};
static_assert(std::size(ConnectedSet) == 49);

// Enabled only while disconnected.
constexpr const char *DisconnectedSet[] = {"btnConnect", "edtIP", "edtPort", "edtrconpassword"};

} // namespace

MainWindow::MainWindow(Environment environment)
    : m_environment(std::move(environment))
    , m_log(nullptr)
    , m_socket(new RconChannel(this))
{
    form::setUpWindow(this, "Form1", "Korvane", 12255, 8175);
    m_controls = form::build(this, Layout);
    m_socket->setObjectName(QStringLiteral("Socket"));
    m_log = ConsoleLog(control<QPlainTextEdit>("Result"));
    control("Picture1")->installEventFilter(this);
    connect(m_socket, &RconChannel::datagramReceived, this, &MainWindow::handleDatagram);
    wireButtons();
    setConnected(false);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

template <typename T> T *MainWindow::control(const char *name) const
{
    auto *widget = qobject_cast<T *>(m_controls.value(QLatin1StringView(name)));
    Q_ASSERT_X(widget, "MainWindow::control", name);
    return widget;
}

void MainWindow::wireButtons()
{
    const auto onClick = [this](const char *button, auto &&handler) {
        connect(control<QPushButton>(button), &QPushButton::clicked, this, handler);
    };
    onClick("btnConnect", [this] { connectToServer(); });
    onClick("btnDisconnect", [this] { disconnectFromServer(); });
    onClick("Command1", [this] { openFavorites(); });
    onClick("btnOther", [this] { openGamePlay(); });
    onClick("btnNormalPopup", [this] { openPlayerList(PlayerList::Normal); });
    onClick("btnPBPopup", [this] { openPlayerList(PlayerList::PunkBuster); });
    onClick("btnCheaters", [this] { openCheaters(); });
    onClick("btnConfig", [this] { openConfig(); });
    // Wired before any other window exists, so the lookups find this window's own controls.
    commands::connectDirect(this, *this, DirectCommands);
    for (const ConfirmOpener &opener : ConfirmOpeners)
        onClick(opener.button, [this, opener] { openConfirm(form::text(opener.action), QStringLiteral("Not applicable")); });
    for (const ReasonOpener &opener : ReasonOpeners)
        onClick(opener.button, [this, opener] { openReason(form::text(opener.action), opener.reason, opener.length); });
}

QString MainWindow::password() const
{
    return fieldText("edtrconpassword");
}

QString MainWindow::serverHost() const
{
    return fieldText("edtIP");
}

quint16 MainWindow::serverPort() const
{
    bool ok = false;
    const int port = fieldText("edtPort").toInt(&ok);
    return ok && port > 0 && port <= 65535 ? static_cast<quint16>(port) : 0;
}

void MainWindow::setServerFields(const QString &ip, const QString &port, const QString &password)
{
    control<QLineEdit>("edtIP")->setText(ip);
    control<QLineEdit>("edtPort")->setText(port);
    control<QLineEdit>("edtrconpassword")->setText(password);
}

QString MainWindow::fieldText(const char *name) const
{
    return control<QLineEdit>(name)->text();
}

void MainWindow::sendCommand(QStringView literal, QStringView parameter)
{
    sendCommand(*m_socket, literal, parameter);
}

void MainWindow::sendCommand(RconChannel &channel, QStringView literal, QStringView parameter) const
{
    channel.sendCommand(password(), literal, parameter);
}

void MainWindow::openEndpoint(RconChannel &channel) const
{
    channel.setRemoteHost(serverHost());
    channel.setRemotePort(serverPort());
    channel.open();
}

bool MainWindow::isConnected() const
{
    return control<QWidget>("btnDisconnect")->isEnabled();
}

void MainWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        load();
    }
}

void MainWindow::load()
{
    captions::apply(this, m_environment.folder, Captions);
    m_log.setText(m_log.text());
    if (m_chooser) {
        if (m_chooser->rememberTicked())
            m_environment.folder.writeSetting(QStringLiteral("Checked"), QStringLiteral("True"));
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
    if (event->type() == QEvent::MouseButtonRelease && watched->objectName() == u"Picture1") {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            openAbout();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::connectToServer()
{
    const QString host = serverHost();
    const QString portText = fieldText("edtPort");
    if (host.isEmpty() || portText.isEmpty() || password().isEmpty()) {
        m_environment.message(this, QStringLiteral("Please enter values for all server fields!"));
        return;
    }
    const quint16 port = serverPort();
    if (port == 0) {
        m_environment.message(this, QStringLiteral("The server port must be a whole number from 1 to 65535."));
        return;
    }
    m_socket->setRemoteHost(host);
    m_socket->setRemotePort(port);
    m_log.append(CrLf + CrLf + QStringLiteral("Connecting..."));
    m_socket->open();
    m_environment.wait(300);
    const auto probe = [this] {
        m_socket->send(rcon::statusProbe());
        control<QLineEdit>("edtState")->setText(QStringLiteral("0"));
    };
    if (m_socket->state() == RconChannel::Open)
        probe();
    if (m_socket->state() != RconChannel::Closed)
        return;
    m_socket->close();
    m_environment.wait(300);
    m_socket->open();
    m_environment.wait(2000);
    if (m_socket->state() == RconChannel::Open) {
        probe();
    } else {
        m_log.append(CrLf + QStringLiteral("Error: Korvane could not connect to an ET server"));
        m_socket->close();
    }
}

void MainWindow::handleDatagram(const QByteArray &datagram)
{
    const QString cleaned = rcon::cleanReply(codec::fromWire(datagram));
    m_log.append(CrLf + cleaned);
    if (fieldText("edtState") == u"0")
        decideStatus(cleaned);
}

void MainWindow::decideStatus(const QString &cleaned)
{
    if (rcon::namesEtServer(cleaned)) {
        control<QLineEdit>("edtState")->setText(QStringLiteral("1"));
        m_log.append(CrLf + QStringLiteral("Korvane Client: Server running ET") + CrLf);
        setConnected(true);
    } else {
        m_log.append(CrLf + QStringLiteral("Korvane Client: Server does not appear to be running ET") + CrLf);
        m_socket->close();
    }
}

void MainWindow::disconnectFromServer()
{
    m_log.append(CrLf + QStringLiteral("Disconnecting..."));
    m_socket->close();
    const std::array<SecondaryWindow *, 5> withEndpoints = {m_normalPlayers, m_pbPlayers, m_gamePlay, m_cheaters,
                                                            m_config};
    for (SecondaryWindow *window : withEndpoints) {
        if (window && window->endpoint())
            window->endpoint()->close();
    }
    setConnected(false);
    m_log.append(CrLf + QStringLiteral("Disconnected from server."));
    // Closed windows are deleted later, so these pointers stay valid through the loop.
    const std::array<QWidget *, 9> toClose = {m_cheaters, m_config,  m_normalPlayers, m_gamePlay, m_pbPlayers,
                                              m_reason,   m_confirm, m_chooser,       m_fun};
    for (QWidget *window : toClose) {
        if (window)
            window->close();
    }
}

void MainWindow::setConnected(bool connected)
{
    for (const char *name : ConnectedSet)
        control<QWidget>(name)->setEnabled(connected);
    for (const char *name : DisconnectedSet)
        control<QWidget>(name)->setEnabled(!connected);
}

template <typename W, typename... Args> W *MainWindow::ensure(QPointer<W> &slot, Args &&...args)
{
    if (!slot) {
        slot = new W(*this, std::forward<Args>(args)...);
        // Forget the window the moment it closes; its deletion comes later.
        connect(slot.data(), &SecondaryWindow::closing, this, [&slot] { slot = nullptr; });
    }
    return slot;
}

void MainWindow::openConfirm(const QString &action, const QString &parameter)
{
    ConfirmDialog *dialog = ensure(m_confirm);
    dialog->showAndRaise();
    dialog->setAction(action, parameter);
    dialog->applyCaptions();
}

void MainWindow::openReason(const QString &action, bool reasonEnabled, bool lengthEnabled)
{
    ReasonDialog *dialog = ensure(m_reason);
    dialog->showAndRaise();
    dialog->setAction(action, reasonEnabled, lengthEnabled);
    dialog->applyCaptions();
}

void MainWindow::openGamePlay()
{
    GamePlayWindow *window = ensure(m_gamePlay);
    window->showAndRaise();
    window->applyCaptions();
}

void MainWindow::openFun()
{
    FunWindow *window = ensure(m_fun);
    window->showAndRaise();
    window->applyCaptions();
}

void MainWindow::openPlayerList(PlayerList list)
{
    PlayerListWindow *window = list == PlayerList::Normal ? ensure(m_normalPlayers, list) : ensure(m_pbPlayers, list);
    window->showAndRaise();
    window->applyCaptions();
}

void MainWindow::openCheaters()
{
    CheatersWindow *window = ensure(m_cheaters);
    window->showAndRaise();
    window->applyCaptions();
}

void MainWindow::openConfig()
{
    ConfigWindow *window = ensure(m_config);
    window->showAndRaise();
    window->applyCaptions();
}

void MainWindow::openFavorites()
{
    FavoritesWindow *window = ensure(m_favorites);
    window->showAndRaise();
    window->applyCaptions();
}

void MainWindow::showFavoritesAfterAdd()
{
    // Reopened after an add without its language texts, as it always was.
    ensure(m_favorites)->showAndRaise();
}

void MainWindow::openAddFavorite()
{
    AddFavoriteDialog *dialog = ensure(m_addFavorite);
    dialog->showAndRaise();
    dialog->applyCaptions();
}

void MainWindow::openAbout()
{
    // The About window takes its one text before it is shown.
    AboutWindow *window = ensure(m_about);
    window->applyCaptions();
    window->showAndRaise();
}

GamePlayWindow *MainWindow::gamePlayWindow() const
{
    return m_gamePlay;
}

FavoritesWindow *MainWindow::favoritesWindow() const
{
    return m_favorites;
}

void MainWindow::setChooser(LanguageChooser *chooser)
{
    m_chooser = chooser;
    connect(chooser, &SecondaryWindow::closing, this, [this] { m_chooser = nullptr; });
}

} // namespace korvane
