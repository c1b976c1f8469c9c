#include "console/mainwindow.h"
#include "fakeserver.h"
#include "rcon/wireformat.h"
#include "testenv.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using korvane::MainWindow;

namespace {

const QByteArray Header(4, '\xFF');

QString logText(const MainWindow &main) { return main.findChild<QPlainTextEdit *>(QStringLiteral("Result"))->toPlainText(); }

void setField(const QWidget *root, const char *name, const QString &text) { find<QLineEdit>(root, name)->setText(text); }

void fillServer(const QWidget *root, const QString &host, const QString &port, const QString &password)
{
    setField(root, "edtIP", host);
    setField(root, "edtPort", port);
    setField(root, "edtrconpassword", password);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void connectsToEtServer_data();
    void connectsToEtServer();
    void directCommands_data();
    void directCommands();

private:
    void connectTo(MainWindow &main, FakeServer &server, const QString &host = QStringLiteral("127.0.0.1"))
    {
        fillServer(&main, host, server.portText(), QStringLiteral("secret"));
        click(&main, "btnConnect");
        QVERIFY(QTest::qWaitFor([&] { return main.isConnected(); }, 3000));
    }
};

void TestMainWindow::connectsToEtServer_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("address") << QStringLiteral("127.0.0.1");
    QTest::newRow("name localhost") << QStringLiteral("localhost");
}

void TestMainWindow::connectsToEtServer()
{
    QFETCH(QString, host);
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server, host);
    QCOMPARE(server.received().value(0), korvane::rcon::statusProbe());
    QVERIFY(logText(main).endsWith(QStringLiteral("\nKorvane Client: Server running ET\n")));
}

void TestMainWindow::directCommands_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("say") << QByteArray("btnSay") << QByteArray("edtSay") << QStringLiteral("hi all")
                         << QByteArray("rcon secret say hi all");
    QTest::newRow("say empty") << QByteArray("btnSay") << QByteArray("edtSay") << QString()
                               << QByteArray("rcon secret say ");
    QTest::newRow("unlock") << QByteArray("btnUnlock") << QByteArray() << QString()
                            << QByteArray("rcon secret g_password \"");
}

void TestMainWindow::directCommands()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    TestProgram program;
    FakeServer server;
    MainWindow main(program.environment());
    main.show();
    connectTo(main, server);
    server.clear();
    if (!field.isEmpty())
        setField(&main, field.constData(), text);
    click(&main, button.constData());
    QVERIFY(server.waitForDatagrams(1));
    QCOMPARE(server.received().value(0), Header + expected);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
