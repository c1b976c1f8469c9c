#include "testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include <tuple>

using namespace Qt::StringLiterals;

TestProgram::TestProgram(const QString &language)
{
    QDir().mkpath(file(u"lang"_s));
    const QDir shipped(QStringLiteral(KORVANE_LANG_DIR));
    for (const QString &name : shipped.entryList({u"*.lang"_s}))
        QFile::copy(shipped.filePath(name), file(u"lang/"_s + name));
    if (!language.isNull())
        testdata::writeBytes(file(u"settings.ini"_s), "[lang]\r\nDefault=" + language.toLatin1() + "\r\n");
}

korvane::ui::Environment TestProgram::environment()
{
    korvane::ui::Environment env(dir.path(), file(u"Korvane.mdb"_s));
    env.message = [this](QWidget *, const QString &text) { messages.append(text); };
    env.saveFileName = [this](QWidget *) { return saveFileAnswer; };
    env.requestSpacingMs = 0; // the clicks of a test come faster than a person's
    return env;
}

QString answerText(const QPlainTextEdit *field)
{
    return field->toPlainText().remove(QChar(0x200B)).replace(u'\n', u"\r\n"_s);
}

QWidget *window(const char *name)
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1StringView(name) && top->isVisible())
            return top;
    }
    return nullptr;
}

void click(const QWidget *root, const char *name)
{
    QWidget *control = find(root, name);
    if (!control)
        qFatal("no control %s", name);
    // Where a user clicks: a check box or option button on its box, since its text may end short of the
    // middle of the control; anything else in the middle.
    const bool boxed = qobject_cast<QCheckBox *>(control) || qobject_cast<QRadioButton *>(control);
    const int middle = control->height() / 2;
    QTest::mouseClick(control, Qt::LeftButton, {}, boxed ? QPoint(middle, middle) : control->rect().center());
}

QMap<QString, QString> readableTexts(const QWidget *window)
{
    QMap<QString, QString> texts{{u"<title>"_s, window->windowTitle()}};
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        QString text = w->property(qobject_cast<const QGroupBox *>(w) ? "title" : "text").toString();
        if (const auto *field = qobject_cast<const QPlainTextEdit *>(w))
            text = answerText(field);
        for (int i = 0; qobject_cast<const QListWidget *>(w) && i < qobject_cast<const QListWidget *>(w)->count(); ++i)
            text += (i ? u"\n"_s : u""_s) + qobject_cast<const QListWidget *>(w)->item(i)->text();
        if (w->window() == window && !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            texts.insert(w->objectName(), text);
    }
    return texts;
}

ConnectedConsole::ConnectedConsole(const QString &language,
                                   const std::function<void(korvane::ui::Environment &)> &adjust)
    : program(language)
    , main([&] {
        korvane::ui::Environment environment = program.environment();
        return adjust ? adjust(environment), environment : environment;
    }())
{
    main.show();
    const QString connect = u"Form1/edtIP=127.0.0.1|Form1/edtPort=%1|Form1/edtrconpassword=secret|Form1/btnConnect|"_s;
    if (!play(connect.arg(server.port()) + u"Form1/btnDisconnect+"_s).isEmpty())
        qFatal("no connection to the loopback server");
    server.clear();
}

QString ConnectedConsole::play(const QString &steps)
{
    QList<QByteArray> replies;
    for (QString step : steps.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype slash = step.indexOf(u'/'), action = step.indexOf(QRegularExpression(u"[=?+-]"_s), slash);
        const QByteArray holder = step.left(slash).toLatin1(),
                         name = step.mid(slash + 1, action - slash - 1).toLatin1();
        const QChar op = action < 0 ? QChar() : step[action];
        const QString value = step.mid(action + 1);
        QWidget *root = window(holder.constData()) ? window(holder.constData()) : find(&main, holder.constData());
        QWidget *control = name.isEmpty() ? root : find(root, name.constData());
        const auto reads = [&] { return readable(root, name.constData()); };
        if (step.startsWith(u'>')) {
            if (step.size() == 1)
                replies.clear();
            else if (step.startsWith(u">@"))
                replies += testdata::captureReplies(step.mid(2));
            else
                replies += FakeServer::printReply(step.mid(1).toLatin1());
            server.setRconReplies(replies);
        } else if (step.endsWith(u'!')) {
            if (window(step.chopped(1).toLatin1().constData()))
                return step + u" is shown"_s;
        } else if (!control) {
            return step + u": no such window or control"_s;
        } else if (name.isEmpty()) {
            root->close();
        } else if (op.isNull()) {
            QTest::mouseClick(control, Qt::LeftButton);
        } else if (op == u'=' && qobject_cast<QListWidget *>(control)) {
            auto *list = qobject_cast<QListWidget *>(control);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(value.toInt())).center());
        } else if (op == u'=') {
            control->metaObject()->userProperty().write(control, value);
        } else if (op == u'?') {
            if (!QTest::qWaitFor([&] { return reads() == value; }, 3000))
                return step + u" reads "_s + reads();
        } else if (!QTest::qWaitFor([&] { return control->isEnabled() == (op == u'+'); }, 3000)) {
            return step + u" is not so"_s;
        }
    }
    return {};
}

QList<QByteArray> ConnectedConsole::sentThenMarker()
{
    QTest::mouseClick(find(&main, "btnPlayers"), Qt::LeftButton);
    // On a time-out the comparison that follows shows what did arrive.
    std::ignore = QTest::qWaitFor([this] { return server.received().endsWith(requests("").value(0)); }, 3000);
    return server.received();
}

QList<QByteArray> ConnectedConsole::requests(const QByteArray &sent)
{
    QList<QByteArray> datagrams;
    for (const QByteArray &request : sent.split('|') + QList<QByteArray>{"secret status"})
        if (!request.isEmpty())
            datagrams.append(QByteArray(4, '\xFF') + "rcon " + request);
    return datagrams;
}
