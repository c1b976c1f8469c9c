#include "console/consolelog.h"
#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/rconchannel.h"
#include "rcon/textcodec.h"
#include "testenv.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <tuple>

using korvane::ConsoleLog;
using korvane::MainWindow;
using korvane::RconChannel;

namespace {

const QByteArray Header(4, '\xFF');
const QByteArray Sentinel = ConnectedConsole::sentinel();

// A main window connected to a loopback server, with the server's record cleared.
struct Session : ConnectedConsole {
    explicit Session(const std::function<void(korvane::Environment &)> &adjust = {})
        : ConnectedConsole(QStringLiteral("english"), adjust)
    {
    }

    QString list() const { return ConsoleLog::textOf(find<QPlainTextEdit>(::window("Cheaters"), "edtCheaters")); }
};

// Opens the cheaters window with the server answering as given, and waits until the request has
// arrived and the list shows what it should.
QWidget *openAndWait(Session &session, const QList<QByteArray> &replies, const QString &shown)
{
    session.server.setRconReplies(replies);
    click(&session.main, "btnCheaters");
    QWidget *cheaters = ::window("Cheaters");
    if (!cheaters || !session.server.waitForDatagrams(1))
        return nullptr;
    std::ignore = QTest::qWaitFor([&] { return session.list() == shown; }, 3000);
    return cheaters;
}

} // namespace

class TestCheatersWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void asksOnceAndShowsItsTexts();
    void answersAreCleaned_data();
    void answersAreCleaned();
    void savesTheList_data();
    void savesTheList();
    void cancellingWritesNothing();
    void unwritableFileIsReported_data();
    void unwritableFileIsReported();
    void saveDialogAsksForAFileInAnExistingFolder();
    void disconnectClosesTheWindow();
};

void TestCheatersWindow::asksOnceAndShowsItsTexts()
{
    Session session;
    QVERIFY(session.connected);
    click(&session.main, "btnCheaters");
    QVERIFY(session.server.waitForDatagrams(1));
    QCOMPARE(session.server.received(), QList<QByteArray>{Header + "rcon secret cheaters"});

    QPointer<QWidget> cheaters = ::window("Cheaters");
    QVERIFY(cheaters);
    QCOMPARE(cheaters->size(), QSize(641, 258));
    QCOMPARE(cheaters->windowTitle(), QStringLiteral("ETPro \"/cheaters\" List with ETPro GUIDs"));
    QCOMPARE(find<QLabel>(cheaters, "lblCheaters")->text(),
             QStringLiteral("ETPro \"/cheaters\" List with ETPro GUIDs"));
    QCOMPARE(find<QPushButton>(cheaters, "btnSave")->text(), QStringLiteral("Save List"));
    QCOMPARE(cheaters->findChild<RconChannel *>(QStringLiteral("SocketCheaters"))->state(), RconChannel::Open);

    // Asked once per opening: opening it again asks nothing.
    click(&session.main, "btnCheaters");
    QCOMPARE(::window("Cheaters"), cheaters.data());
    QCOMPARE(session.sentThenSentinel(), (QList<QByteArray>{Header + "rcon secret cheaters", Sentinel}));
}

void TestCheatersWindow::answersAreCleaned_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QString>("expected");
    QTest::newRow("server without ETPro")
        << QList<QByteArray>{FakeServer::printReply("Unknown command \"cheaters^7\"\n")}
        << QStringLiteral("The server does not appear to be running ETPro\r\n");
    QTest::newRow("server without ETPro, no colour")
        << QList<QByteArray>{FakeServer::printReply("Unknown command \"cheaters\"\n")}
        << QStringLiteral("The server does not appear to be running ETPro\r\n");
    QTest::newRow("list with colours, quotes and backslashes")
        << QList<QByteArray>{FakeServer::printReply("^3Detected cheaters^7:\n 2 \"^1Evil^7Bob\" GUID\\7A3F09C1\n")}
        << QStringLiteral("Detected :\r\n 2 EvilBob GUID 7A3F09C1\r\n");
    QTest::newRow("list split over two datagrams")
        << QList<QByteArray>{FakeServer::printReply("Detected:\n 2 Evil"), FakeServer::printReply("Bob 7A3F09C1\n")}
        << QStringLiteral("Detected:\r\n 2 EvilBob 7A3F09C1\r\n");
    // Another engine's wording is not the one recognised; only the word "cheaters" goes.
    QTest::newRow("captured answer of a server of another game")
        << testdata::captureReplies(QStringLiteral("plain-rcon-good-cheaters.json"))
        << QStringLiteral("unknown command: \r\n");
}

void TestCheatersWindow::answersAreCleaned()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QString, expected);
    Session session;
    QVERIFY(session.connected);
    const QString logBefore = ConsoleLog::textOf(find<QPlainTextEdit>(&session.main, "Result"));
    QWidget *cheaters = openAndWait(session, replies, expected);
    QVERIFY(cheaters);
    QCOMPARE(session.list(), expected);
    QCOMPARE(ConsoleLog::textOf(find<QPlainTextEdit>(&session.main, "Result")), logBefore);
}

void TestCheatersWindow::savesTheList_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("contents");
    const QList<QByteArray> list{FakeServer::printReply("Detected:\n 2 Evil"), FakeServer::printReply("Bob\n")};
    QTest::newRow("name without extension") << list << QStringLiteral("list") << QStringLiteral("list.txt")
                                            << QByteArray("Detected:\r\n 2 EvilBob\r\n\r\n");
    QTest::newRow("name ending in .txt") << list << QStringLiteral("list.txt") << QStringLiteral("list.txt.txt")
                                         << QByteArray("Detected:\r\n 2 EvilBob\r\n\r\n");
    QTest::newRow("an existing file is replaced")
        << list << QStringLiteral("old") << QStringLiteral("old.txt") << QByteArray("Detected:\r\n 2 EvilBob\r\n\r\n");
    QTest::newRow("empty list") << QList<QByteArray>{} << QStringLiteral("empty") << QStringLiteral("empty.txt")
                                << QByteArray("\r\n");
    QTest::newRow("accented names in Windows-1252")
        << QList<QByteArray>{FakeServer::printReply("1 Ren\xE9 \x80\n")} << QStringLiteral("accents")
        << QStringLiteral("accents.txt") << QByteArray("1 Ren\xE9 \x80\r\n\r\n");
}

void TestCheatersWindow::savesTheList()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QByteArray, contents);
    Session session;
    QVERIFY(session.connected);
    QTemporaryDir target;
    {
        QFile old(target.filePath(QStringLiteral("old.txt")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200, 'x'));
    }
    const QString shown = korvane::codec::fromWire(contents.chopped(2));
    QWidget *cheaters = openAndWait(session, replies, shown);
    QVERIFY(cheaters);
    QCOMPARE(session.list(), shown);

    session.program.saveFileAnswer = target.filePath(chosen);
    click(cheaters, "btnSave");
    QCOMPARE(session.program.saveDialogsShown, 1);
    QCOMPARE(testdata::readFile(target.filePath(written)), contents);
    QCOMPARE(session.program.messages, QStringList{});
}

void TestCheatersWindow::cancellingWritesNothing()
{
    Session session;
    QVERIFY(session.connected);
    QTemporaryDir target;
    QWidget *cheaters = openAndWait(session, {FakeServer::printReply("1 Bob\n")}, QStringLiteral("1 Bob\r\n"));
    QVERIFY(cheaters);
    session.program.saveFileAnswer.clear();
    click(cheaters, "btnSave");
    QCOMPARE(session.program.saveDialogsShown, 1);
    QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    QCOMPARE(session.program.messages, QStringList{});
}

void TestCheatersWindow::unwritableFileIsReported_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("reported");
    QTest::newRow("folder that does not exist") << QStringLiteral("gone/list") << QStringLiteral("gone/list.txt");
    QTest::newRow("a folder has the file's name") << QStringLiteral("taken") << QStringLiteral("taken.txt");
}

void TestCheatersWindow::unwritableFileIsReported()
{
    QFETCH(QString, chosen);
    QFETCH(QString, reported);
    Session session;
    QVERIFY(session.connected);
    QTemporaryDir target;
    QVERIFY(QDir(target.path()).mkdir(QStringLiteral("taken.txt")));
    QWidget *cheaters = openAndWait(session, {FakeServer::printReply("1 Bob\n")}, QStringLiteral("1 Bob\r\n"));
    QVERIFY(cheaters);

    session.program.saveFileAnswer = target.filePath(chosen);
    click(cheaters, "btnSave");
    QCOMPARE(session.program.messages.size(), 1);
    const QString message = session.program.messages.constFirst();
    const QString prefix =
        QStringLiteral("The list could not be saved to ") + QDir::toNativeSeparators(target.filePath(reported));
    QVERIFY2(message.startsWith(prefix + QStringLiteral(":\r\n")), qPrintable(message));
    QVERIFY2(message.size() > prefix.size() + 3, "the reason is missing");
    QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("taken.txt")});
    QVERIFY(QFileInfo(target.filePath(QStringLiteral("taken.txt"))).isDir());
}

// The program's own save dialog, driven as a user would: a name in a missing folder is refused, an
// existing file is replaced only after a confirmation.
void TestCheatersWindow::saveDialogAsksForAFileInAnExistingFolder()
{
    QTemporaryDir target;
    {
        // The name typed is "list"; the file written, and so the one to ask about, is "list.txt".
        QFile existing(target.filePath(QStringLiteral("list.txt")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("older list\r\n");
    }
    Session session([](korvane::Environment &environment) {
        environment.saveFileName = korvane::Environment(QString()).saveFileName;
    });
    QVERIFY(session.connected);
    QWidget *cheaters = openAndWait(session, {FakeServer::printReply("1 Bob\n")}, QStringLiteral("1 Bob\r\n"));
    QVERIFY(cheaters);

    QString title;
    QStringList filters;
    QStringList boxes;
    int step = 0;
    int ticks = 0;
    QTimer user;
    user.setInterval(50);
    connect(&user, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (++ticks > 200) { // give up after ten seconds, so the test ends either way
            if (modal)
                modal->close();
            return;
        }
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *box = qobject_cast<QMessageBox *>(modal);
        const auto typeAndAccept = [&](const QString &name) {
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
            // Clicked from the event loop: the click may open a message box of its own.
            QAbstractButton *save =
                dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Save);
            QTimer::singleShot(0, save, [save] { save->click(); });
        };
        if (step == 0 && dialog) {
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            dialog->setDirectory(target.path());
            typeAndAccept(QStringLiteral("missing/list"));
            step = 1;
        } else if (step == 1 && box) {
            boxes.append(box->windowTitle() + u'|' + box->text());
            box->button(QMessageBox::Ok)->click();
            step = 2;
        } else if (step == 2 && dialog) {
            typeAndAccept(QStringLiteral("list"));
            step = 3;
        } else if (step == 3 && box) {
            boxes.append(box->windowTitle() + u'|' + box->text());
            box->button(QMessageBox::Yes)->click();
            step = 4;
        }
    });
    user.start();
    click(cheaters, "btnSave");
    user.stop();

    QCOMPARE(title, QStringLiteral("Save File"));
    QCOMPARE(filters, QStringList{QStringLiteral("Text File (*.txt)")});
    QCOMPARE(step, 4);
    QCOMPARE(boxes.value(0), QStringLiteral("Korvane|The folder ") +
                                 QDir::toNativeSeparators(target.filePath(QStringLiteral("missing"))) +
                                 QStringLiteral(" does not exist."));
    QCOMPARE(boxes.value(1), QStringLiteral("Save File|") +
                                 QDir::toNativeSeparators(target.filePath(QStringLiteral("list.txt"))) +
                                 QStringLiteral(" already exists.\nDo you want to replace it?"));
    QCOMPARE(testdata::readFile(target.filePath(QStringLiteral("list.txt"))), QByteArray("1 Bob\r\n\r\n"));
    QVERIFY(!QFileInfo::exists(target.filePath(QStringLiteral("missing"))));
}

void TestCheatersWindow::disconnectClosesTheWindow()
{
    Session session;
    QVERIFY(session.connected);
    QPointer<QWidget> cheaters = openAndWait(session, {}, QString());
    QVERIFY(cheaters);
    QPointer<RconChannel> endpoint = cheaters->findChild<RconChannel *>(QStringLiteral("SocketCheaters"));
    click(&session.main, "btnDisconnect");
    QCOMPARE(endpoint->state(), RconChannel::Closed);
    QVERIFY(QTest::qWaitFor([&] { return !cheaters && !endpoint; }, 3000));
    QCOMPARE(::window("Cheaters"), nullptr);
    QCOMPARE(session.server.received(), QList<QByteArray>{Header + "rcon secret cheaters"});
}

QTEST_MAIN(TestCheatersWindow)
#include "tst_cheaterswindow.moc"
