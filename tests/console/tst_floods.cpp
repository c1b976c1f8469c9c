// What a hostile or broken server, or a silent name server, can do: the console keeps only the newest part
// of an endless stream, whole answers in order, a list that only grows stops growing, and a lookup that never
// answers ends in the failure path.
#include "testenv.h"

#include <QListWidget>
#include <QPlainTextEdit>

class TestFloods : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void logKeepsItsNewestMillionCharacters()
    {
        ConnectedConsole console;
        QVERIFY(console.main.isConnected());
        auto *log = find<QPlainTextEdit>(&console.main, "Result");
        // 40 answers of 60,000 characters, each of lines of 99 characters: 2.4 million in all.
        QByteArray lines;
        for (int i = 0; i < 600; ++i)
            lines += QByteArray(98, 'a' + char(i % 26)) + '\n';
        for (int i = 0; i < 40; ++i) {
            console.server.sendToClient(FakeServer::printReply("answer " + QByteArray::number(i) + '\n' + lines));
            QTest::qWait(5);
        }
        console.server.sendToClient(FakeServer::printReply("the end"));
        QVERIFY(QTest::qWaitFor([&] { return answerText(log).endsWith(u"the end"_s); }, 10000));
        const QString text = answerText(log);
        QVERIFY2(text.size() <= 1'100'000 + 100'000, qPrintable(QString::number(text.size())));
        QVERIFY(text.size() >= 1'000'000);
        // Cut at a line start, and the newest answers whole.
        const QString first = text.left(text.indexOf(u"\r\n"_s));
        QVERIFY2(first.startsWith(u"answer "_s) || first == QString(98, first.front()), qPrintable(first.left(120)));
        QVERIFY(text.contains(u"answer 39\r\n"_s + QString(98, u'a') + u"\r\n"_s));
    }

    void campaignListStopsAtAThousand()
    {
        ConnectedConsole console;
        QVERIFY(console.main.isConnected());
        click(&console.main, "btnOther");
        QVERIFY(console.server.waitForDatagrams(1));
        QByteArray words = "x y z";
        for (int i = 0; i < 600; ++i)
            words += " camp" + QByteArray::number(i);
        for (int i = 0; i < 3; ++i)
            console.server.sendToClient(FakeServer::printReply(words));
        auto *list = find<QListWidget>(window("Other"), "List1");
        QVERIFY(QTest::qWaitFor([&] { return list->count() >= 1000; }, 5000));
        QTest::qWait(100);
        QCOMPARE(list->count(), 1000);
        QCOMPARE(list->item(599)->text(), u"camp599"_s);
        QCOMPARE(list->item(999)->text(), u"camp399"_s);
    }

    void lookupThatNeverAnswersEndsInTheFailurePath()
    {
        TestProgram program;
        korvane::console::MainWindow main(program.environment());
        main.link().resolver().setLookup([](const QString &, QObject *, auto) {});
        main.link().resolver().setTimeLimit(300);
        main.show();
        main.setServerFields(u"silent.example"_s, u"27960"_s, u"pw"_s);
        click(&main, "btnConnect");
        auto *log = find<QPlainTextEdit>(&main, "Result");
        QVERIFY(answerText(log).endsWith(u"Connecting..."_s));
        QVERIFY(
            QTest::qWaitFor([&] { return answerText(log).endsWith(u"could not connect to an ET server"_s); }, 5000));
        QVERIFY(!main.isConnected());
        QVERIFY(find(&main, "btnConnect")->isEnabled());
    }
};

QTEST_MAIN(TestFloods)
#include "tst_floods.moc"
