#include "console/consolelog.h"
#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/rconchannel.h"
#include "testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <tuple>

using korvane::ConsoleLog;
using korvane::MainWindow;
using korvane::RconChannel;

namespace {

const QByteArray Header(4, '\xFF');
const QByteArray ListRequest = Header + "rcon secret config";
const QByteArray Sentinel = ConnectedConsole::sentinel();

// A main window connected to a loopback server, with the server's record cleared.
struct Session : ConnectedConsole {
    using ConnectedConsole::ConnectedConsole;

    // The main window's own "Load .Config File" button opens the window; the window has a button of
    // the same name, so the main window's is looked up in its frame.
    QWidget *openConfig()
    {
        click(find(&main, "Frame2"), "btnConfig");
        return ::window("Config");
    }

    QString list() const { return ConsoleLog::textOf(find<QPlainTextEdit>(::window("Config"), "edtConfig")); }
};

const QList<QByteArray> ListAnswer{FakeServer::printReply("Available configs:\n  ^3comp\n  pub"),
                                   FakeServer::printReply("lic\n")};
const QString ListShown = QStringLiteral("Available configs:\r\n  comp\r\n  public\r\n");

} // namespace

class TestConfigWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensAndAsksForTheList();
    void listIsAskedForAgain();
    void loadsTheNamedConfig_data();
    void loadsTheNamedConfig();
    void reopeningResetsTheNameAndAsksNothing();
    void captionsFitInEveryLanguage_data();
    void captionsFitInEveryLanguage();
    void disconnectClosesTheWindow();
};

void TestConfigWindow::opensAndAsksForTheList()
{
    Session session;
    QVERIFY(session.connected);
    session.server.setRconReplies(ListAnswer);
    const QString logBefore = ConsoleLog::textOf(find<QPlainTextEdit>(&session.main, "Result"));
    QWidget *config = session.openConfig();
    QVERIFY(config);
    QVERIFY(session.server.waitForDatagrams(1));
    QCOMPARE(session.server.received(), QList<QByteArray>{ListRequest});
    QVERIFY(QTest::qWaitFor([&] { return session.list() == ListShown; }, 3000));
    QCOMPARE(ConsoleLog::textOf(find<QPlainTextEdit>(&session.main, "Result")), logBefore);

    QCOMPARE(config->size(), QSize(641, 258));
    QCOMPARE(config->findChild<RconChannel *>(QStringLiteral("Socket3"))->state(), RconChannel::Open);
    QCOMPARE(config->windowTitle(), QStringLiteral("Select ETPro .config File"));
    QCOMPARE(find<QLabel>(config, "lblConfig")->text(), QStringLiteral("Select ETPro .config File"));
    QCOMPARE(find<QPushButton>(config, "btnGetConfig")->text(), QStringLiteral("Get .config File List"));
    QCOMPARE(find<QPushButton>(config, "btnConfig")->text(), QStringLiteral("Load Config"));
    QCOMPARE(find<QLineEdit>(config, "edtConfig2")->text(), QStringLiteral(".Config File Name"));
}

void TestConfigWindow::listIsAskedForAgain()
{
    Session session;
    QVERIFY(session.connected);
    session.server.setRconReplies(ListAnswer);
    QWidget *config = session.openConfig();
    QVERIFY(QTest::qWaitFor([&] { return session.list() == ListShown; }, 3000));
    click(config, "btnGetConfig");
    QVERIFY(session.server.waitForDatagrams(2));
    QCOMPARE(session.server.received(), (QList<QByteArray>{ListRequest, ListRequest}));
    // Emptied first: the new list replaces the old one instead of following it.
    QVERIFY(QTest::qWaitFor([&] { return session.list().size() >= ListShown.size(); }, 3000));
    QTest::qWait(100);
    QCOMPARE(session.list(), ListShown);
}

void TestConfigWindow::loadsTheNamedConfig_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("untouched default name") << false << QString() << Header + "rcon secret config .Config File Name";
    QTest::newRow("empty name") << true << QString() << Header + "rcon secret config ";
    QTest::newRow("name sent as typed") << true << QStringLiteral(" comp; \"x\" ")
                                        << Header + "rcon secret config  comp; \"x\" ";
}

void TestConfigWindow::loadsTheNamedConfig()
{
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QByteArray, request);
    Session session;
    QVERIFY(session.connected);
    session.server.setRconReplies(ListAnswer);
    QWidget *config = session.openConfig();
    QVERIFY(QTest::qWaitFor([&] { return session.list() == ListShown; }, 3000));

    session.server.setRconReplies({FakeServer::printReply("Loading comp\n")});
    if (edit)
        setField(config, "edtConfig2", name);
    click(config, "btnConfig");
    QVERIFY(session.server.waitForDatagrams(2));
    QCOMPARE(session.server.received().value(1), request);
    // The answer to the load follows the list shown before it.
    const QString expected = ListShown + QStringLiteral("Loading comp\r\n");
    QVERIFY(QTest::qWaitFor([&] { return session.list().size() >= expected.size(); }, 3000));
    QCOMPARE(session.list(), expected);
}

void TestConfigWindow::reopeningResetsTheNameAndAsksNothing()
{
    Session session;
    QVERIFY(session.connected);
    QPointer<QWidget> config = session.openConfig();
    QVERIFY(config);
    setField(config, "edtConfig2", QStringLiteral("comp"));
    QCOMPARE(session.openConfig(), config.data());
    QCOMPARE(find<QLineEdit>(config, "edtConfig2")->text(), QStringLiteral(".Config File Name"));
    QCOMPARE(session.sentThenSentinel(), (QList<QByteArray>{ListRequest, Sentinel}));
}

void TestConfigWindow::captionsFitInEveryLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("english") << QStringLiteral("english");
    QTest::newRow("french") << QStringLiteral("french");
    QTest::newRow("german") << QStringLiteral("german");
    QTest::newRow("dutch") << QStringLiteral("dutch");
}

void TestConfigWindow::captionsFitInEveryLanguage()
{
    QFETCH(QString, language);
    Session session(language);
    QVERIFY(session.connected);
    QWidget *config = session.openConfig();
    QVERIFY(config);
    const auto *label = find<QLabel>(config, "lblConfig");
    QCOMPARE(label->text(), config->windowTitle());
    QVERIFY(!label->text().isEmpty());
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    for (const char *name : {"btnGetConfig", "btnConfig"}) {
        const auto *button = find<QPushButton>(config, name);
        QVERIFY(!button->text().isEmpty());
        // A little room for the button's frame.
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width(),
                 qPrintable(button->text()));
    }
}

void TestConfigWindow::disconnectClosesTheWindow()
{
    Session session;
    QVERIFY(session.connected);
    QPointer<QWidget> config = session.openConfig();
    QVERIFY(config);
    QVERIFY(session.server.waitForDatagrams(1));
    QPointer<RconChannel> endpoint = config->findChild<RconChannel *>(QStringLiteral("Socket3"));
    click(&session.main, "btnDisconnect");
    QCOMPARE(endpoint->state(), RconChannel::Closed);
    QVERIFY(QTest::qWaitFor([&] { return !config && !endpoint; }, 3000));
    QCOMPARE(::window("Config"), nullptr);
    QCOMPARE(session.server.received(), QList<QByteArray>{ListRequest});
}

QTEST_MAIN(TestConfigWindow)
#include "tst_configwindow.moc"
