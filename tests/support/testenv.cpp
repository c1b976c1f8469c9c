#include "testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QMetaProperty>
#include <QRadioButton>

#include <tuple>

TestProgram::TestProgram(const QString &language)
{
    QDir().mkpath(file(u"lang"_s));
    const QDir shipped(QString::fromUtf8(KORVANE_LANG_DIR));
    for (const QString &name : shipped.entryList({u"*.lang"_s}))
        QFile::copy(shipped.filePath(name), file(u"lang/"_s + name));
    if (!language.isNull())
        testdata::writeBytes(settingsFile(), "[lang]\r\nDefault=" + language.toLatin1() + "\r\n");
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
    // A check box's text may end short of the middle of the control.
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
        if (const auto *list = qobject_cast<const QListWidget *>(w)) {
            QStringList lines;
            for (int i = 0; i < list->count(); ++i)
                lines.append(list->item(i)->text());
            text = lines.join(u'\n');
        }
        if (w->window() == window && !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            texts.insert(w->objectName(), text);
    }
    return texts;
}

QByteArray rcon(const QByteArray &passwordAndCommand)
{
    return QByteArray(4, '\xFF') + "rcon " + passwordAndCommand;
}

ConnectedConsole::ConnectedConsole(const QString &language,
                                   const std::function<void(korvane::ui::Environment &)> &adjust)
    : program(language)
    , main([&] {
        korvane::ui::Environment environment = program.environment();
        if (adjust)
            adjust(environment);
        return environment;
    }())
{
    main.show();
    main.setServerFields(u"127.0.0.1"_s, server.portText(), u"secret"_s);
    click("Form1", "btnConnect");
    if (!QTest::qWaitFor([this] { return main.isConnected(); }, 3000))
        qFatal("no connection to the loopback server");
    server.clear();
}

QWidget *ConnectedConsole::at(const char *name) const
{
    if (main.objectName() == QLatin1StringView(name))
        return const_cast<korvane::console::MainWindow *>(&main);
    QWidget *shown = window(name);
    return shown ? shown : find(&main, name);
}

void ConnectedConsole::click(const char *window, const char *control) const
{
    ::click(at(window), control);
}

void ConnectedConsole::type(const char *window, const char *control, const QString &text) const
{
    QWidget *field = find(at(window), control);
    if (!field)
        qFatal("no field %s/%s", window, control);
    field->metaObject()->userProperty().write(field, text);
}

void ConnectedConsole::choose(const char *window, const char *list, int line) const
{
    auto *lines = find<QListWidget>(at(window), list);
    if (!lines)
        qFatal("no list %s/%s", window, list);
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(lines->item(line)).center());
}

QList<QByteArray> ConnectedConsole::sent()
{
    const QByteArray marker = rcon("secret status");
    ::click(&main, "btnPlayers");
    // On a time-out the comparison that follows shows what did arrive.
    std::ignore = QTest::qWaitFor([&] { return server.received().endsWith(marker); }, 3000);
    QList<QByteArray> received = server.received();
    if (received.endsWith(marker))
        received.removeLast();
    return received;
}
