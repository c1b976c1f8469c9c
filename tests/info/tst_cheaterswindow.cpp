#include "rcon/endpoint.h"
#include "rcon/textcodec.h"
#include "testenv.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <tuple>

using korvane::rcon::Endpoint;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Request = QByteArray(4, '\xFF') + "rcon secret cheaters";

QString textOf(const QWidget *root, const char *name)
{
    return answerText(find<QPlainTextEdit>(root, name));
}

// Opens the cheaters window with the server answering as given; waits for the request and for the list
// to show `shown`.
QWidget *openAndWait(ConnectedConsole &session, const QList<QByteArray> &replies, const QString &shown)
{
    session.server.setRconReplies(replies);
    click(&session.main, "btnCheaters");
    QWidget *cheaters = window("Cheaters");
    if (!cheaters || !session.server.waitForDatagrams(1))
        return nullptr;
    std::ignore = QTest::qWaitFor([&] { return textOf(cheaters, "edtCheaters") == shown; }, 3000);
    return cheaters;
}

} // namespace

class TestCheatersWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answerIsCleanedAndAskedOncePerOpening_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QList<QByteArray> &texts, const char *expected) {
            QList<QByteArray> replies;
            for (const QByteArray &text : texts)
                replies.append(FakeServer::printReply(text));
            QTest::newRow(name) << replies << QString::fromLatin1(expected);
        };
        row("server without ETPro", {"Unknown command \"cheaters^7\"\n"},
            "The server does not appear to be running ETPro\r\n");
        row("colours, quotes and backslashes", {"^3Detected cheaters^7:\n 2 \"^1Evil^7Bob\" GUID\\7A3F09C1\n"},
            "Detected :\r\n 2 EvilBob GUID 7A3F09C1\r\n");
        row("split over two datagrams", {"Detected:\n 2 Evil", "Bob 7A3F09C1\n"},
            "Detected:\r\n 2 EvilBob 7A3F09C1\r\n");
        // Another engine's wording is not the one recognised; only the word "cheaters" goes.
        QTest::newRow("captured answer of a server of another game")
            << testdata::captureReplies(u"plain-rcon-good-cheaters.json"_s) << u"unknown command: \r\n"_s;
    }

    void answerIsCleanedAndAskedOncePerOpening()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QString, expected);
        ConnectedConsole session;
        QVERIFY(session.connected);
        const QString log = textOf(&session.main, "Result");
        QWidget *cheaters = openAndWait(session, replies, expected);
        QVERIFY(cheaters);
        QCOMPARE(textOf(cheaters, "edtCheaters"), expected);
        QCOMPARE(textOf(&session.main, "Result"), log); // the answer is the window's alone

        // Showing the open window again asks nothing.
        click(&session.main, "btnCheaters");
        QCOMPARE(window("Cheaters"), cheaters);
        QCOMPARE(session.sentThenSentinel(), (QList<QByteArray>{Request, ConnectedConsole::sentinel()}));
    }

    void savesTheList_data()
    {
        QTest::addColumn<QByteArray>("answer"); // the server's list, in Windows-1252
        QTest::addColumn<QString>("chosen");    // the save dialog's answer; empty when cancelled
        QTest::addColumn<QString>("written");   // the one file in the folder afterwards, if any
        QTest::newRow("name without .txt") << QByteArray("1 Bob\n") << u"list"_s << u"list.txt"_s;
        QTest::newRow("name ending in .txt") << QByteArray("1 Bob\n") << u"list.txt"_s << u"list.txt.txt"_s;
        QTest::newRow("empty list") << QByteArray() << u"empty"_s << u"empty.txt"_s;
        QTest::newRow("Windows-1252") << QByteArray("1 Ren\xE9 \x80\n") << u"accents"_s << u"accents.txt"_s;
        QTest::newRow("cancelled") << QByteArray("1 Bob\n") << QString() << QString();
        QTest::newRow("folder that does not exist") << QByteArray("1 Bob\n") << u"gone/list"_s << QString();
    }

    void savesTheList()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        ConnectedConsole session;
        QVERIFY(session.connected);
        QTemporaryDir target;
        const QByteArray shown = QByteArray(answer).replace("\n", "\r\n");
        const QList<QByteArray> replies{FakeServer::printReply(answer)};
        QWidget *cheaters =
            openAndWait(session, answer.isEmpty() ? QList<QByteArray>() : replies, korvane::rcon::fromWire(shown));
        QVERIFY(cheaters);
        QCOMPARE(textOf(cheaters, "edtCheaters"), korvane::rcon::fromWire(shown));

        session.program.saveFileAnswer = chosen.isEmpty() ? QString() : target.filePath(chosen);
        click(cheaters, "btnSave");
        QCOMPARE(session.program.saveDialogsShown, 1);
        QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 written.isEmpty() ? QStringList() : QStringList{written});
        if (!written.isEmpty())
            QCOMPARE(testdata::readFile(target.filePath(written)), shown + "\r\n");
        const bool refused = !chosen.isEmpty() && written.isEmpty();
        QCOMPARE(session.program.messages.size(), refused ? 1 : 0);
        const QString prefix = u"The list could not be saved to "_s +
                               QDir::toNativeSeparators(target.filePath(chosen + u".txt"_s)) + u":\r\n"_s;
        if (refused) // followed by the reason
            QVERIFY2(session.program.messages.constFirst().startsWith(prefix) &&
                         session.program.messages.constFirst().size() > prefix.size(),
                     qPrintable(session.program.messages.constFirst()));
    }

    // The program's own save dialog, driven as a user would.
    void saveDialogRefusesAMissingFolderAndAsksBeforeReplacing()
    {
        QTemporaryDir target;
        const QString existing = target.filePath(u"list.txt"_s); // "list" is typed; "list.txt" is what is written
        {
            QFile file(existing);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("older list\r\n") > 0);
        }
        ConnectedConsole session(u"english"_s, [](korvane::ui::Environment &environment) {
            environment.saveFileName = korvane::ui::Environment(QString()).saveFileName;
        });
        QVERIFY(session.connected);
        QWidget *cheaters = openAndWait(session, {FakeServer::printReply("1 Bob\n")}, u"1 Bob\r\n"_s);
        QVERIFY(cheaters);

        QStringList seen; // the dialog's title and filters, then each message box as "title|text"
        int step = 0;
        int ticks = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (++ticks > 200) { // give up after ten seconds, so the test ends either way
                if (modal)
                    modal->close();
            } else if (dialog && (step == 0 || step == 2)) {
                if (step == 0) {
                    seen << dialog->windowTitle() << dialog->nameFilters();
                    dialog->setDirectory(target.path());
                }
                dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(step == 0 ? u"missing/list"_s : u"list"_s);
                // Clicked from the event loop: the click may open a message box of its own.
                QAbstractButton *save =
                    dialog->findChild<QDialogButtonBox *>(u"buttonBox"_s)->button(QDialogButtonBox::Save);
                QTimer::singleShot(0, save, [save] { save->click(); });
                ++step;
            } else if (box && (step == 1 || step == 3)) {
                seen << box->windowTitle() + u'|' + box->text();
                box->button(step == 1 ? QMessageBox::Ok : QMessageBox::Yes)->click();
                ++step;
            }
        });
        user.start(50);
        click(cheaters, "btnSave");
        user.stop();

        QCOMPARE(step, 4);
        QCOMPARE(seen, (QStringList{u"Save File"_s, u"Text File (*.txt)"_s,
                                    u"Korvane|The folder "_s + QDir::toNativeSeparators(target.filePath(u"missing"_s)) +
                                        u" does not exist."_s,
                                    u"Save File|"_s + QDir::toNativeSeparators(existing) +
                                        u" already exists.\nDo you want to replace it?"_s}));
        QCOMPARE(testdata::readFile(existing), QByteArray("1 Bob\r\n\r\n"));
        QVERIFY(!QFileInfo::exists(target.filePath(u"missing"_s)));
    }

    void disconnectClosesTheWindowAndItsEndpoint()
    {
        ConnectedConsole session;
        QVERIFY(session.connected);
        QPointer<QWidget> cheaters = openAndWait(session, {}, QString());
        QVERIFY(cheaters);
        QPointer<korvane::rcon::Endpoint> endpoint =
            cheaters->findChild<korvane::rcon::Endpoint *>(u"SocketCheaters"_s);
        QVERIFY(endpoint && endpoint->state() == korvane::rcon::Endpoint::Open);
        click(&session.main, "btnDisconnect");
        QCOMPARE(endpoint->state(), korvane::rcon::Endpoint::Closed);
        QVERIFY(QTest::qWaitFor([&] { return !cheaters && !endpoint; }, 3000));
        QCOMPARE(session.server.received(), QList<QByteArray>{Request});
    }
};

QTEST_MAIN(TestCheatersWindow)
#include "tst_cheaterswindow.moc"
