#include "testenv.h"

#include "console/confirmdialog.h"
#include "console/reasondialog.h"
#include "favorites/addfavoritedialog.h"
#include "favorites/favoriteswindow.h"
#include "info/cheaterswindow.h"
#include "info/configwindow.h"
#include "info/playerlistwindow.h"
#include "match/funwindow.h"
#include "match/gameplaywindow.h"
#include "settings/aboutwindow.h"

#include <QAbstractButton>
#include <QApplication>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <tuple>

TestProgram::TestProgram(const QString &language)
{
    QDir().mkpath(m_dir.filePath(QStringLiteral("lang")));
    const QDir shipped(QStringLiteral(KORVANE_LANG_DIR));
    for (const QString &name : shipped.entryList({QStringLiteral("*.lang")}, QDir::Files))
        QFile::copy(shipped.filePath(name), m_dir.filePath(QStringLiteral("lang/") + name));
    if (!language.isNull()) {
        QFile settings(settingsFile());
        if (settings.open(QIODevice::WriteOnly))
            settings.write("[lang]\r\nDefault=" + language.toLatin1() + "\r\n");
    }
}

void TestProgram::writeLanguageFile(const QString &language, const QStringList &entries) const
{
    QFile file(m_dir.filePath(QStringLiteral("lang/") + language + QStringLiteral(".lang")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write a language file");
    file.write("[lang]\r\n");
    for (const QString &entry : entries)
        file.write(entry.toLatin1() + "\r\n");
}

void TestProgram::removeLanguageFiles() const
{
    // The folder stays: a lang folder beside the program is what keeps it portable.
    QDir lang(m_dir.filePath(QStringLiteral("lang")));
    for (const QString &name : lang.entryList(QDir::Files))
        lang.remove(name);
}

korvane::ui::Environment TestProgram::environment()
{
    korvane::ui::Environment env(folder(), m_dir.filePath(QStringLiteral("Korvane.mdb")));
    env.message = [this](QWidget *, const QString &text) { messages.append(text); };
    env.saveFileName = [this](QWidget *) {
        ++saveDialogsShown;
        return saveFileAnswer;
    };
    return env;
}

QWidget *window(const char *name)
{
    const QString wanted = QString::fromLatin1(name);
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == wanted && top->isVisible())
            return top;
    }
    return nullptr;
}

void click(const QWidget *root, const char *name)
{
    auto *button = find<QAbstractButton>(root, name);
    if (!button)
        qFatal("no button %s", name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString answerText(const QPlainTextEdit *field)
{
    // Without the invisible breaks the field puts into very long words.
    return field->toPlainText().remove(QChar(0x200B)).replace(u'\n', QStringLiteral("\r\n"));
}

void setField(const QWidget *root, const char *name, const QString &text)
{
    auto *field = find<QLineEdit>(root, name);
    if (!field)
        qFatal("no field %s", name);
    field->setText(text);
}

QMap<QString, QString> readableTexts(const QWidget *window)
{
    QMap<QString, QString> texts{{QStringLiteral("<title>"), window->windowTitle()}};
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->isWindow() || widget->objectName().isEmpty())
            continue;
        if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
            texts.insert(widget->objectName(), frame->title());
        else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts.insert(widget->objectName(), button->text());
        else if (const auto *label = qobject_cast<const QLabel *>(widget))
            texts.insert(widget->objectName(), label->text());
        else if (const auto *field = qobject_cast<const QLineEdit *>(widget))
            texts.insert(widget->objectName(), field->text());
        else if (const auto *answer = qobject_cast<const QPlainTextEdit *>(widget))
            texts.insert(widget->objectName(), answer->toPlainText());
    }
    return texts;
}

ConnectedConsole::ConnectedConsole(const QString &language,
                                   const std::function<void(korvane::ui::Environment &)> &adjust)
    : program(language)
    , main(environmentFor(program, adjust))
{
    main.show();
    main.setServerFields(QStringLiteral("127.0.0.1"), server.portText(), QStringLiteral("secret"));
    click(&main, "btnConnect");
    connected = QTest::qWaitFor([this] { return main.isConnected(); }, 3000);
    server.clear();
}

korvane::ui::Environment ConnectedConsole::environmentFor(TestProgram &program,
                                                          const std::function<void(korvane::ui::Environment &)> &adjust)
{
    korvane::ui::Environment environment = program.environment();
    if (adjust)
        adjust(environment);
    return environment;
}

QByteArray ConnectedConsole::sentinel()
{
    return QByteArray(4, '\xFF') + "rcon secret status";
}

QList<QByteArray> ConnectedConsole::sentThenSentinel()
{
    click(&main, "btnPlayers");
    // On a time-out the comparison that follows shows what did arrive.
    std::ignore = QTest::qWaitFor([this] { return server.received().endsWith(sentinel()); }, 3000);
    return server.received();
}

korvane::ui::SecondaryWindow *openWindow(korvane::console::MainWindow &main, const QString &name)
{
    using namespace korvane;
    const ui::Context context{main.link(), main.environment()};
    ui::SecondaryWindow *window = nullptr;
    if (name == u"Sure")
        window = new console::ConfirmDialog(context, &main, [] { return std::optional<QString>(); });
    else if (name == u"Reason")
        window = new console::ReasonDialog(context, &main, [](const char *) { return QString(); });
    else if (name == u"Other")
        window = new match::GamePlayWindow(context, &main);
    else if (name == u"fun")
        window = new match::FunWindow(context, &main);
    else if (name == u"NormalPlayers")
        window = new info::PlayerListWindow(context, &main, info::PlayerList::Normal);
    else if (name == u"PBPlayers")
        window = new info::PlayerListWindow(context, &main, info::PlayerList::PunkBuster);
    else if (name == u"Cheaters")
        window = new info::CheatersWindow(context, &main);
    else if (name == u"Config")
        window = new info::ConfigWindow(context, &main);
    else if (name == u"Favorites")
        window = new favorites::FavoritesWindow(context, &main);
    else if (name == u"add_Favorites")
        window = new favorites::AddFavoriteDialog(context, &main);
    else if (name == u"About")
        window = new settings::AboutWindow(context, &main);
    if (window) {
        window->showAndRaise();
        window->applyCaptions();
    }
    return window;
}
