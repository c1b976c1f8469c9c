#pragma once

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "testdata.h"
#include "ui/environment.h"
#include "ui/secondarywindow.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>

// A program folder in a temporary directory, with the shipped language files and a settings file
// naming the language, and an environment whose message boxes and save dialog are answered here.
class TestProgram final {
public:
    explicit TestProgram(const QString &language = QStringLiteral("english"));

    QString folder() const { return m_dir.path(); }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    // Replaces (or creates) a language file; lines are joined with CR LF under "[lang]".
    void writeLanguageFile(const QString &language, const QStringList &entries) const;
    void removeLanguageFiles() const;

    korvane::ui::Environment environment();

    QStringList messages;   // every message box shown, in order
    QString saveFileAnswer; // what the save dialog answers; empty means cancelled
    int saveDialogsShown = 0;

private:
    QTemporaryDir m_dir;
};

// Widgets by objectName.
template <typename T = QWidget> T *find(const QWidget *root, const char *name)
{
    T *widget = root->findChild<T *>(QString::fromLatin1(name));
    if (!widget && root->objectName() == QLatin1StringView(name))
        widget = qobject_cast<T *>(const_cast<QWidget *>(root));
    return widget;
}

// A top-level window (or one parented to the main window) by objectName.
QWidget *window(const char *name);

// A real mouse click on a named button.
void click(const QWidget *root, const char *name);

// The text of an answer field as the program reads it, with CR LF line ends.
QString answerText(const QPlainTextEdit *field);

// Sets the text of a named one-line field.
void setField(const QWidget *root, const char *name, const QString &text);

// Every text a person can read in a window, by control name (frame titles, captions, field contents),
// with the window's own title under "<title>"; the controls of windows it owns are left out.
QMap<QString, QString> readableTexts(const QWidget *window);

// Creates the named secondary window as its opener would (for a dialog, with no action), shown and
// given its language texts; nullptr for a name that is no secondary window.
korvane::ui::SecondaryWindow *openWindow(korvane::console::MainWindow &main, const QString &name);

// A main window connected to a loopback server (password "secret"), with the server's record cleared.
struct ConnectedConsole {
    explicit ConnectedConsole(const QString &language = QStringLiteral("english"),
                              const std::function<void(korvane::ui::Environment &)> &adjust = {});

    // The main endpoint's " status" request, sent as a marker.
    static QByteArray sentinel();
    // Everything sent so far, followed by the marker: once the marker has arrived, anything sent
    // before it has arrived too, so "nothing more" is checked without sleeping.
    QList<QByteArray> sentThenSentinel();

    TestProgram program;
    FakeServer server;
    korvane::console::MainWindow main;
    bool connected = false;

private:
    static korvane::ui::Environment environmentFor(TestProgram &program,
                                                   const std::function<void(korvane::ui::Environment &)> &adjust);
};
