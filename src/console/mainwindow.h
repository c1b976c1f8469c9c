#pragma once

#include "console/consolelog.h"
#include "console/environment.h"

#include <QPointer>
#include <QWidget>

namespace korvane {

class RconChannel;
class SecondaryWindow;
class ConfirmDialog;
class ReasonDialog;
class GamePlayWindow;
class FunWindow;
class PlayerListWindow;
class CheatersWindow;
class ConfigWindow;
class FavoritesWindow;
class AddFavoriteDialog;
class AboutWindow;
class LanguageChooser;

enum class PlayerList { Normal, PunkBuster };

// The console: server fields, connect and disconnect, the log, and the direct commands. It owns the
// main endpoint and is the hub from which every other window is opened, at most one of each.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(Environment environment);
    ~MainWindow() override;

    Environment &environment() { return m_environment; }
    const Environment &environment() const { return m_environment; }

    // The server the program talks to, as the fields hold it now.
    QString password() const;
    QString serverHost() const;
    quint16 serverPort() const;
    void setServerFields(const QString &ip, const QString &port, const QString &password);
    // The text of one of this window's fields, read at the moment of the call.
    QString fieldText(const char *name) const;

    // An rcon request with the password of this moment, on the main endpoint or on another one.
    void sendCommand(QStringView literal, QStringView parameter = {});
    void sendCommand(RconChannel &channel, QStringView literal, QStringView parameter = {}) const;
    // Points a window's endpoint at the server of the fields and opens it.
    void openEndpoint(RconChannel &channel) const;

    ConsoleLog &log() { return m_log; }
    bool isConnected() const;

    void openConfirm(const QString &action, const QString &parameter);
    void openReason(const QString &action, bool reasonEnabled, bool lengthEnabled);
    void openGamePlay();
    void openFun();
    void openPlayerList(PlayerList list);
    void openCheaters();
    void openConfig();
    void openFavorites();
    void showFavoritesAfterAdd();
    void openAddFavorite();
    void openAbout();

    GamePlayWindow *gamePlayWindow() const;
    FavoritesWindow *favoritesWindow() const;
    void setChooser(LanguageChooser *chooser);
    void showAndRaise();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename W, typename... Args> W *ensure(QPointer<W> &slot, Args &&...args);
    // One of this window's own controls. Looked up in the table built with the window, never among
    // all children: the secondary windows are children too, and some reuse names (btnConfig, btnUnlock).
    template <typename T = QWidget> T *control(const char *name) const;

    void load();
    void connectToServer();
    void disconnectFromServer();
    void handleDatagram(const QByteArray &datagram);
    void decideStatus(const QString &cleaned);
    void setConnected(bool connected);
    void wireButtons();

    Environment m_environment;
    QHash<QString, QWidget *> m_controls;
    ConsoleLog m_log;
    RconChannel *m_socket;
    bool m_loaded = false;

    QPointer<ConfirmDialog> m_confirm;
    QPointer<ReasonDialog> m_reason;
    QPointer<GamePlayWindow> m_gamePlay;
    QPointer<FunWindow> m_fun;
    QPointer<PlayerListWindow> m_normalPlayers;
    QPointer<PlayerListWindow> m_pbPlayers;
    QPointer<CheatersWindow> m_cheaters;
    QPointer<ConfigWindow> m_config;
    QPointer<FavoritesWindow> m_favorites;
    QPointer<AddFavoriteDialog> m_addFavorite;
    QPointer<AboutWindow> m_about;
    QPointer<LanguageChooser> m_chooser;
};

} // namespace korvane
