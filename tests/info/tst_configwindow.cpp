#include "rcon/endpoint.h"
#include "testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include <tuple>

using korvane::rcon::Endpoint;
using namespace Qt::StringLiterals;

namespace {

const QByteArray ListRequest = QByteArray(4, '\xFF') + "rcon secret config";
// The list, split over two datagrams.
const QList<QByteArray> ListAnswer{FakeServer::printReply("Available configs:\n  ^3comp\n  pub"),
                                   FakeServer::printReply("lic\n")};
const QString ListShown = u"Available configs:\r\n  comp\r\n  public\r\n"_s;

struct Session : ConnectedConsole {
    using ConnectedConsole::ConnectedConsole;

    // The main window's own btnConfig (the window has one of that name too) opens the window; waits
    // for the list.
    QWidget *openWithList()
    {
        server.setRconReplies(ListAnswer);
        click(find(&main, "Frame2"), "btnConfig");
        std::ignore = QTest::qWaitFor([this] { return list() == ListShown; }, 3000);
        return ::window("Config");
    }

    QString list() const
    {
        const QWidget *config = ::window("Config");
        return config ? answerText(find<QPlainTextEdit>(config, "edtConfig")) : QString();
    }
};

} // namespace

class TestConfigWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listIsAskedOnOpeningAndAgain()
    {
        Session session;
        QVERIFY(session.connected);
        QPointer<QWidget> config = session.openWithList();
        QVERIFY(config);
        QCOMPARE(session.list(), ListShown);
        QCOMPARE(session.server.received(), QList<QByteArray>{ListRequest});

        // Emptied first: the new answer replaces the list instead of following it.
        session.server.setRconReplies({FakeServer::printReply("newer\n")});
        click(config, "btnGetConfig");
        std::ignore = QTest::qWaitFor([&] { return session.list().endsWith(u"newer\r\n"_s); }, 3000);
        QCOMPARE(session.list(), u"newer\r\n"_s);
        QCOMPARE(session.server.received(), (QList<QByteArray>{ListRequest, ListRequest}));

        QPointer<korvane::rcon::Endpoint> endpoint = config->findChild<korvane::rcon::Endpoint *>(u"Socket3"_s);
        click(&session.main, "btnDisconnect");
        QVERIFY(QTest::qWaitFor([&] { return !config && !endpoint; }, 3000));
    }

    void loadsTheNamedConfig_data()
    {
        QTest::addColumn<QString>("name"); // typed into edtConfig2; null: left as it is
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("untouched default name") << QString() << ListRequest + " .Config File Name";
        QTest::newRow("empty name") << u""_s << ListRequest + " ";
        QTest::newRow("name sent as typed") << u" comp; \"x\" "_s << ListRequest + "  comp; \"x\" ";
    }

    void loadsTheNamedConfig()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, request);
        Session session;
        QVERIFY(session.connected);
        QWidget *config = session.openWithList();
        QVERIFY(config);

        session.server.setRconReplies({FakeServer::printReply("Loading comp\n")});
        if (!name.isNull())
            setField(config, "edtConfig2", name);
        const QString typed = find<QLineEdit>(config, "edtConfig2")->text();
        click(config, "btnConfig");
        // The answer follows the list shown before it; the name stays.
        const QString expected = ListShown + u"Loading comp\r\n"_s;
        std::ignore = QTest::qWaitFor([&] { return session.list() == expected; }, 3000);
        QCOMPARE(session.list(), expected);
        QCOMPARE(session.server.received(), (QList<QByteArray>{ListRequest, request}));
        QCOMPARE(find<QLineEdit>(config, "edtConfig2")->text(), typed);
    }

    void reopeningResetsTheNameAndAsksNothing()
    {
        Session session;
        QVERIFY(session.connected);
        session.program.writeLanguageFile(u"english"_s, {u"Config=Pick a config"_s, u"Config.edtConfig2=name here"_s});
        QPointer<QWidget> config = session.openWithList();
        QVERIFY(config);
        // The title's entry captions the label too.
        QCOMPARE(config->windowTitle(), u"Pick a config"_s);
        QCOMPARE(find<QLabel>(config, "lblConfig")->text(), u"Pick a config"_s);

        setField(config, "edtConfig2", u"comp"_s);
        click(find(&session.main, "Frame2"), "btnConfig");
        QCOMPARE(window("Config"), config.data());
        QCOMPARE(find<QLineEdit>(config, "edtConfig2")->text(), u"name here"_s);
        QCOMPARE(session.sentThenSentinel(), (QList<QByteArray>{ListRequest, ConnectedConsole::sentinel()}));
    }
};

QTEST_MAIN(TestConfigWindow)
#include "tst_configwindow.moc"
