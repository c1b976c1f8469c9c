#pragma once

#include "console/dialogactions.h"
#include "rcon/serverlink.h"
#include "ui/environment.h"
#include "ui/window.h"

#include <QHostAddress>
#include <QPointer>
#include <QTimer>

namespace korvane::favorites {
class AddFavoriteDialog;
class FavoritesWindow;
} // namespace korvane::favorites
namespace korvane::info {
class CheatersWindow;
class ConfigWindow;
class PlayerListWindow;
enum class PlayerList;
} // namespace korvane::info
namespace korvane::match {
class FunWindow;
class GamePlayWindow;
} // namespace korvane::match
namespace korvane::ui {
class AnswerField;
}

namespace korvane::console {

class AboutWindow;
class CommandRecall;
class ConfirmDialog;
class ReasonDialog;

// The console: server fields, connect and disconnect, the log, and the direct commands. It holds the
// link to the server and is the hub of the program: the one class that knows the other windows. It
// opens each, at most one of each kind, connects what they say, and sends what the dialogs decide.
class MainWindow final : public ui::Window {
    Q_OBJECT

public:
    explicit MainWindow(ui::Environment environment);
    ~MainWindow() override;

    void setServerFields(const QString &ip, const QString &port, const QString &password);
    bool isConnected() const { return m_phase == Phase::Connected; }
    // The first showing applies the language texts before the window is drawn, and reads the history.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Connecting finds the server's address, opens the endpoint (a second time after a pause, should
    // the first opening not take), then sends a status probe; the first answer decides. The hidden
    // field edtState mirrors the probing ("0") and the connected ("1") phase.
    enum class Phase { Disconnected, Resolving, Opening, Pausing, Reopening, Probing, Connected };

    rcon::Server server() const;
    void wireButtons();
    void wireCommandField();
    // A history file that cannot be read or written is said once a run; the field works on.
    void sayHistoryFailure(const QString &failure);

    void connectToServer();
    void open(const QHostAddress &address, quint16 port);
    void afterWait();
    void probe();
    void disconnectFromServer();
    void handleDatagram(const QByteArray &datagram);
    void decideStatus(const QString &cleaned);
    void setPhase(Phase phase);

    template <typename W, typename... Args> W *ensure(QPointer<W> &slot, Args &&...args);
    template <typename W, typename Prepare> void present(W *window, Prepare &&prepare);
    template <typename W> void present(W *window);
    void wire(ui::Window &) {}
    void wire(match::GamePlayWindow &window);
    void wire(favorites::FavoritesWindow &window);
    void wire(favorites::AddFavoriteDialog &dialog);
    void wire(ConfirmDialog &dialog);
    void wire(ReasonDialog &dialog);

    void openConfirm(ConfirmAction action);
    void sendConfirmed(ConfirmAction action);
    void openReason(KickAction action);
    void sendKick(KickAction action, const QString &length, const QString &reason);
    void openPlayerList(info::PlayerList list);
    void openAbout();
    // The game play window's referee field, or nothing while that window is closed.
    std::optional<QString> refereeText() const;

    ui::Environment m_environment;
    rcon::ServerLink m_link;
    ui::AnswerField *m_log = nullptr;
    CommandRecall *m_recall = nullptr;
    bool m_historyFailureSaid = false;
    Phase m_phase = Phase::Disconnected;
    // The connect's address while it opens, and its one timer for the waits between the steps.
    QHostAddress m_address;
    quint16 m_port = 0;
    QTimer m_wait;
    bool m_loaded = false;

    QPointer<ConfirmDialog> m_confirm;
    QPointer<ReasonDialog> m_reason;
    QPointer<match::GamePlayWindow> m_gamePlay;
    QPointer<match::FunWindow> m_fun;
    QPointer<info::PlayerListWindow> m_normalPlayers;
    QPointer<info::PlayerListWindow> m_pbPlayers;
    QPointer<info::CheatersWindow> m_cheaters;
    QPointer<info::ConfigWindow> m_config;
    QPointer<favorites::FavoritesWindow> m_favorites;
    QPointer<favorites::AddFavoriteDialog> m_addFavorite;
    QPointer<AboutWindow> m_about;
};

} // namespace korvane::console
