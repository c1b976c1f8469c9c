#pragma once

#include "rcon/serverlink.h"
#include "ui/answerfield.h"
#include "ui/context.h"
#include "ui/dialogactions.h"
#include "ui/environment.h"
#include "ui/form.h"

#include <QHostAddress>
#include <QPointer>
#include <QWidget>

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
namespace korvane::settings {
class AboutWindow;
class LanguageChooser;
} // namespace korvane::settings
namespace korvane::ui {
class SecondaryWindow;
}

namespace korvane::console {

class CommandRecall;
class ConfirmDialog;
class ReasonDialog;

// The console: server fields, connect and disconnect, the log, and the direct commands. It holds the
// link to the server and is the hub of the program: the one class that knows the other windows. It
// opens each, at most one of each kind, and connects what they ask for.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(ui::Environment environment);
    ~MainWindow() override;

    ui::Environment &environment() { return m_environment; }
    rcon::ServerLink &link() { return m_link; }

    void setServerFields(const QString &ip, const QString &port, const QString &password);
    bool isConnected() const { return m_phase == Phase::Connected; }
    // The start-up window, which the first showing of this window closes.
    void setChooser(settings::LanguageChooser *chooser);
    void showAndRaise();
    // The first showing runs the window's load step first, so the window is drawn in its language.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Connecting finds the server's address and opens the endpoint, then sends a status probe; the
    // first answer decides. The hidden field edtState mirrors the probing ("0") and the connected ("1")
    // phase.
    enum class Phase { Disconnected, Connecting, Probing, Connected };

    template <typename T = QWidget> T *control(const char *name) const { return m_controls.get<T>(name); }
    rcon::Server server() const;
    void wireButtons();
    void wireCommandField();
    void load();
    // A history file that cannot be read or written is said once a run; the field works on.
    void sayHistoryFailure(const QString &failure);

    void connectToServer();
    void openAndProbe(const QHostAddress &address, quint16 port);
    void probe();
    void disconnectFromServer();
    void handleDatagram(const QByteArray &datagram);
    void decideStatus(const QString &cleaned);
    void setPhase(Phase phase);

    template <typename W, typename... Args> W *ensure(QPointer<W> &slot, Args &&...args);
    template <typename W, typename Prepare> void present(W *window, Prepare &&prepare);
    template <typename W> void present(W *window);
    void wire(ui::SecondaryWindow &) {}
    void wire(match::GamePlayWindow &window);
    void wire(favorites::FavoritesWindow &window);
    void wire(favorites::AddFavoriteDialog &dialog);

    void openConfirm(ui::ConfirmAction action, const QString &parameter);
    void openReason(ui::KickAction action);
    void openPlayerList(info::PlayerList list);
    void openAbout();

    ui::Environment m_environment;
    rcon::ServerLink m_link;
    ui::Context m_context;
    ui::Controls m_controls;
    ui::AnswerField *m_log = nullptr;
    CommandRecall *m_recall = nullptr;
    bool m_historyFailureSaid = false;
    Phase m_phase = Phase::Disconnected;
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
    QPointer<settings::AboutWindow> m_about;
    QPointer<settings::LanguageChooser> m_chooser;
};

} // namespace korvane::console
