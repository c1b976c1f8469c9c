// The "are you sure?" dialog against a loopback server: what "Yes" sends and what sends nothing.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "match/gameplaywindow.h"
#include "testenv.h"

#include <QLabel>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Header(4, '\xFF');
const QByteArray Sentinel = ConnectedConsole::sentinel();

QString text(const QWidget *root, const char *name)
{
    return find(root, name)->property("text").toString();
}

struct Session : ConnectedConsole {
    using ConnectedConsole::ConnectedConsole;

    QWidget *dialog() const { return find(&main, "Sure"); }
    // Opens the game play window and lets its own first request go by.
    QWidget *openGamePlay()
    {
        click(&main, "btnOther");
        sentThenSentinel();
        server.clear();
        return window("Other");
    }
};

} // namespace

class TestConfirmDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void actions_data()
    {
        QTest::addColumn<QByteArray>("button"); // on the main window, else on the game play window
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("referee"); // at opening, at "Yes"
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *name, const char *button, const char *action, const QByteArray &command,
                            const QStringList &referee = {}) {
            QTest::newRow(name) << QByteArray(button) << QString::fromLatin1(action) << referee
                                << Header + "rcon other" + command;
        };
        row("Kill The Server", "btnKill", "Kill the server", " killserver");
        row("Restart Server is an exec", "btnRestartServer", "Restart server", " exec server");
        row("Clear Bans From Memory", "btnUnbanAll", "Clear bans from memory", " pb_sv_banempty");
        row("Restart Map", "btnMapRestart", "Restart map", " ref restart");
        row("Next Map", "btnNextmap", "Load next map", " ref nextmap");
        row("Reset Match", "btnMatchReset", "Reset match", " ref matchreset");
        row("Shuffle with restart", "btnShuffle", "Shuffle teams with restart", " ref shuffleteamsxp");
        row("Shuffle without restart", "btnShuffle2", "Shuffle teams without restart", " ref shuffleteamsxp_norestart");
        row("Swap Teams", "btnSwap", "Swap teams", " ref swapteams");
        const char *const referee = "Give referee status";
        row("referee 3 changed to 5", "btnReferee", referee, " ref referee 5", {u"3"_s, u"5"_s});
        row("empty referee keeps its blank", "btnReferee", referee, " ref referee ", {QString(), QString()});
        row("referee not trimmed", "btnReferee", referee, " ref referee  7 y ", {u"x"_s, u" 7 y "_s});
    }

    // Each opener clicked for real; no default or escape button, a fixed size, focus on "Yes". The
    // password, like the referee, is read at "Yes".
    void actions()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, action);
        QFETCH(QStringList, referee);
        QFETCH(QByteArray, expected);
        Session s;
        QVERIFY(s.connected);
        QWidget *opener = find(&s.main, button.constData()) ? &s.main : s.openGamePlay();
        if (!referee.isEmpty())
            setField(opener, "edtReferee", referee[0]);
        click(opener, button.constData());
        if (!referee.isEmpty())
            setField(opener, "edtReferee", referee[1]);

        QPointer<QWidget> dialog = s.dialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), u"Confirm Action"_s);
        QCOMPARE(dialog->size(), QSize(434, 142));
        QCOMPARE(dialog->focusWidget()->objectName(), u"btnSureOK"_s);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            for (QWidget *target : {find(dialog, "btnSureOK"), find(dialog, "btnSureCancel"), dialog.data()})
                QTest::keyClick(target, key);
        }
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(text(dialog, "lblAction2"), action);
        // The label shows the referee field as it was at opening.
        QCOMPARE(text(dialog, "lblInput2"),
                 referee.isEmpty() ? u"Not applicable"_s : u"Player ID Number: "_s + referee[0]);

        setField(&s.main, "edtrconpassword", u"other"_s);
        click(dialog, "btnSureOK");
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        setField(&s.main, "edtrconpassword", u"secret"_s);
        QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
    }

    // The action text is matched exactly; a dismissed dialog is discarded, its labels emptied. Without
    // the game play window, the referee is not sent and the window not brought back.
    void sendsNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("No") << u"No"_s;
        QTest::newRow("close box") << u"close box"_s;
        QTest::newRow("Yes on another case") << u"kill the server"_s;
        QTest::newRow("Yes on a trailing blank") << u"Kill the server "_s;
        QTest::newRow("Yes on an empty label") << QString();
        QTest::newRow("Yes on referee after the game play window closed") << u"referee"_s;
    }

    void sendsNothing()
    {
        QFETCH(QString, how);
        Session s;
        QVERIFY(s.connected);
        click(&s.main, "btnKill");
        QPointer<QWidget> dialog = s.dialog();
        if (how == u"No") {
            click(dialog, "btnSureCancel");
            QVERIFY(!dialog || (text(dialog, "lblAction2").isEmpty() && text(dialog, "lblInput2").isEmpty()));
        } else if (how == u"close box") {
            dialog->close();
        } else if (how == u"referee") {
            click(s.openGamePlay(), "btnReferee");
            window("Other")->close();
            click(dialog, "btnSureOK");
        } else {
            find<QLabel>(dialog, "lblAction2")->setText(how);
            click(dialog, "btnSureOK");
        }
        QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }, 3000));
        QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));
        QVERIFY(!window("Other"));
    }

    // Captions come from the language file, or are empty without their keys; the action and parameter
    // labels keep the English texts that "Yes" dispatches on. The last opener wins: one dialog, one command.
    void lastOpenerAndCaptions_data()
    {
        QTest::addColumn<bool>("renamed");
        QTest::newRow("every caption renamed") << true;
        QTest::newRow("no keys of the dialog") << false;
    }

    void lastOpenerAndCaptions()
    {
        QFETCH(bool, renamed);
        const char *const names[] = {"lblSure", "lblAction", "lblInput", "btnSureOK", "btnSureCancel"};
        QStringList entries = {u"Form1.btnKill=Kill"_s}, expected = {renamed ? u"T"_s : QString()};
        if (renamed)
            entries << u"Sure=T"_s << u"Sure.lblAction2=translated"_s << u"Sure.lblInput2=translated"_s;
        for (const char *name : names) {
            if (renamed)
                entries << u"Sure.%1=~%1"_s.arg(QLatin1StringView(name));
            expected << (renamed ? u"~"_s + QLatin1StringView(name) : QString());
        }
        Session s(u"testing"_s);
        s.program.writeLanguageFile(u"testing"_s, entries);
        QVERIFY(s.connected);
        click(&s.main, "btnKill");
        QPointer<QWidget> dialog = s.dialog();
        click(s.openGamePlay(), "btnMapRestart");
        QCOMPARE(s.main.findChildren<QWidget *>(u"Sure"_s).size(), 1);
        QStringList shown = {dialog->windowTitle()};
        for (const char *name : names)
            shown << text(dialog, name);
        QCOMPARE(shown, expected);
        QCOMPARE(text(dialog, "lblAction2"), u"Restart map"_s);
        QCOMPARE(text(dialog, "lblInput2"), u"Not applicable"_s);
        click(dialog, "btnSureOK");
        QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Header + "rcon secret ref restart", Sentinel}));
    }

    void bothDialogsClosedByDisconnect()
    {
        Session s;
        QVERIFY(s.connected);
        click(&s.main, "btnUnbanAll");
        click(&s.main, "btnPBBan");
        QVERIFY(window("Sure") && window("Reason"));
        click(&s.main, "btnDisconnect");
        QVERIFY(!window("Sure") && !window("Reason"));
    }
};

QTEST_MAIN(TestConfirmDialog)
#include "tst_confirmdialog.moc"
