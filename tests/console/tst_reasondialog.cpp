// The kick/ban reason dialog against a loopback server: what "Proceed" sends, and the fields it offers.

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "testenv.h"

#include <QLabel>

#include <QLineEdit>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Sentinel = ConnectedConsole::sentinel();

// The enabled fields and their texts: "reason=spam length=" and so on, an enabled field in capitals.
QString fields(const QWidget *dialog)
{
    const auto *reason = find<QLineEdit>(dialog, "edtReason"), *length = find<QLineEdit>(dialog, "edtLength");
    return (reason->isEnabled() ? u"REASON="_s : u"reason="_s) + reason->text() +
           (length->isEnabled() ? u" LENGTH="_s : u" length="_s) + length->text();
}

QWidget *reasonDialog(const ConnectedConsole &s)
{
    return find(&s.main, "Reason");
}

} // namespace

class TestReasonDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("targetText");
        QTest::addColumn<QString>("enabled"); // what fields() shows on opening
        QTest::addColumn<bool>("typed");      // length and reason set afterwards, even where disabled
        QTest::addColumn<QByteArray>("expected");
        // The row name is the command the dialog shows.
        const auto row = [](const char *command, const char *button, const char *target, const QString &targetText,
                            const char *enabled, bool typed, const QByteArray &expected) {
            QTest::newRow(command) << QByteArray(button) << QByteArray(target) << targetText
                                   << QString::fromLatin1(enabled) << typed
                                   << QByteArray(4, '\xFF') + "rcon other" + expected;
        };
        const char *const off = "reason= length=";
        row("Kick By ID Number", "btnKick", "edtSlot1", u"4"_s, off, true, " clientkick 4");
        row("Kick By Name", "btnNameKick", "edtSlot3", u" Big \"Bad\" Wolf "_s, off, true, " kick  Big \"Bad\" Wolf ");
        row("Ban By Name", "btnBan", "edtSlot2", u"Zo\u00eb"_s, off, true, " ban Zo\xeb");
        row("PB Kick By Slot #", "btnPBKickNum", "edtSlot4", u"3"_s, "REASON= LENGTH=", true,
            " pb_sv_kick 3 10 a b\\c");
        row("PB Kick By Name", "btnPBKick", "edtSlot5", u"name"_s, "REASON= LENGTH=", false, " pb_sv_kick name  ");
        row("PB Ban By Name", "btnPBBan", "edtSlot6", u"name"_s, "REASON= length=", true, " pb_sv_ban name a b\\c");
        row("PB Ban By Slot #", "btnPBBanSlot", "edtSlot8", u"7"_s, "REASON= length=", true, " pb_sv_ban 7 a b\\c");
        row("PB Ban By GUID", "btnPBBanGUID", "edtSlot7", u"0123abcd"_s, off, false, " pb_sv_banguid 0123abcd ");
        row("PB Ban By IP", "btnPBBanMask", "edtPBBanmask", u"10.0.*.*"_s, off, true, " pb_sv_banmask 10.0.*.*");
    }

    // Each opener clicked for real on a fresh dialog; no default or escape button, a fixed size, focus
    // on "Cancel", the command shown greyed. The target and the password are read at "Proceed".
    void commands()
    {
        QFETCH(QByteArray, button);
        QFETCH(QByteArray, target);
        QFETCH(QString, targetText);
        QFETCH(QString, enabled);
        QFETCH(bool, typed);
        QFETCH(QByteArray, expected);
        ConnectedConsole s;
        QVERIFY(s.connected);
        setField(&s.main, target.constData(), u"stale"_s);
        click(&s.main, button.constData());
        QPointer<QWidget> dialog = reasonDialog(s);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), u"Kick/Ban Reason"_s);
        QCOMPARE(dialog->size(), QSize(429, 167));
        QCOMPARE(dialog->focusWidget()->objectName(), u"btnCancel"_s);
        const QWidget *command = find(dialog, "lblAction2");
        QCOMPARE(command->property("text").toString(), QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(!command->isEnabled());
        QCOMPARE(fields(dialog), enabled);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            for (const char *name : {"btnCancel", "btnProceed", "edtReason", "edtLength"})
                QTest::keyClick(find(dialog, name), key);
            QTest::keyClick(dialog, key);
        }
        QVERIFY(dialog && dialog->isVisible());
        if (typed) {
            setField(dialog, "edtLength", u"10"_s);
            setField(dialog, "edtReason", u"a b\\c"_s);
        }
        setField(&s.main, target.constData(), targetText);
        setField(&s.main, "edtrconpassword", u"other"_s);
        click(dialog, "btnProceed");
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        setField(&s.main, "edtrconpassword", u"secret"_s);
        QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({expected, Sentinel}));
    }

    // The command text is matched exactly; a dismissed dialog is discarded with what was typed into it.
    void sendsNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << u"Cancel"_s;
        QTest::newRow("close box") << u"close box"_s;
        QTest::newRow("Proceed on another case") << u"pb kick by name"_s;
        QTest::newRow("Proceed on a leading blank") << u" PB Kick By Name"_s;
        QTest::newRow("Proceed on an empty label") << QString();
    }

    void sendsNothing()
    {
        QFETCH(QString, how);
        ConnectedConsole s;
        QVERIFY(s.connected);
        click(&s.main, "btnPBKick");
        QPointer<QWidget> dialog = reasonDialog(s);
        setField(dialog, "edtReason", u"spam"_s);
        setField(dialog, "edtLength", u"5"_s);
        if (how == u"Cancel") {
            click(dialog, "btnCancel");
        } else if (how == u"close box") {
            dialog->close();
        } else {
            find<QLabel>(dialog, "lblAction2")->setText(how);
            click(dialog, "btnProceed");
        }
        QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }, 3000));
        QCOMPARE(s.sentThenSentinel(), QList<QByteArray>({Sentinel}));
        click(&s.main, "btnPBKick");
        QCOMPARE(fields(reasonDialog(s)), u"REASON= LENGTH="_s);
    }

    // Captions come from the language file, or are empty without their keys, at every opening. The
    // last opener wins: one dialog, its command and fields, with the texts typed for the first.
    void lastOpenerAndCaptions_data()
    {
        QTest::addColumn<bool>("renamed");
        QTest::newRow("every caption renamed") << true;
        QTest::newRow("no keys of the dialog") << false;
    }

    void lastOpenerAndCaptions()
    {
        QFETCH(bool, renamed);
        const char *const names[] = {"lblReason2", "lblAction", "lblReason", "lblLength", "btnProceed", "btnCancel"};
        QStringList entries = {u"Form1.btnPBKick=Kick"_s}, expected = {renamed ? u"T"_s : QString()};
        if (renamed) {
            entries << u"Reason=T"_s << u"Reason.lblAction2=translated"_s << u"Reason.edtReason=translated"_s
                    << u"Reason.edtLength=translated"_s;
        }
        for (const char *name : names) {
            if (renamed)
                entries << u"Reason.%1=~%1"_s.arg(QLatin1StringView(name));
            expected << (renamed ? u"~"_s + QLatin1StringView(name) : QString());
        }
        ConnectedConsole s(u"testing"_s);
        s.program.writeLanguageFile(u"testing"_s, entries);
        QVERIFY(s.connected);
        setField(&s.main, "edtSlot7", u"GUID"_s);
        click(&s.main, "btnPBKick");
        QPointer<QWidget> dialog = reasonDialog(s);
        QTest::keyClicks(find(dialog, "edtReason"), u"spam"_s);
        QTest::keyClicks(find(dialog, "edtLength"), u"5"_s);
        click(&s.main, "btnPBBanGUID");
        QCOMPARE(s.main.findChildren<QWidget *>(u"Reason"_s).size(), 1);
        QStringList shown = {dialog->windowTitle()};
        for (const char *name : names)
            shown << find(dialog, name)->property("text").toString();
        QCOMPARE(shown, expected);
        QCOMPARE(find(dialog, "lblAction2")->property("text").toString(), u"PB Ban By GUID"_s);
        QCOMPARE(fields(dialog), u"reason=spam length=5"_s);
        click(dialog, "btnProceed");
        QCOMPARE(s.sentThenSentinel(),
                 QList<QByteArray>({QByteArray(4, '\xFF') + "rcon secret pb_sv_banguid GUID spam", Sentinel}));
    }
};

QTEST_MAIN(TestReasonDialog)
#include "tst_reasondialog.moc"
