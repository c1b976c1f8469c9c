#pragma once

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "ui/environment.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <functional>

// A program folder with the shipped language files and settings naming the language; message boxes answer here.
struct TestProgram {
    explicit TestProgram(const QString &language = QStringLiteral("english"));
    QString file(const QString &name) const { return dir.filePath(name); } // "settings.ini", "Korvane.mdb"
    QString settingsFile() const { return file(QStringLiteral("settings.ini")); }
    korvane::ui::Environment environment();

    QTemporaryDir dir;
    QStringList messages;   // every message box shown, in order
    QString saveFileAnswer; // what the save dialog answers; empty means cancelled
};

// A control by objectName (the root itself included), a shown window by objectName, and a real click.
template <typename T = QWidget> T *find(const QWidget *root, const char *name)
{
    T *widget = root && *name ? root->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    return widget || !root || root->objectName() != QLatin1StringView(name)
               ? widget
               : qobject_cast<T *>(const_cast<QWidget *>(root));
}
QWidget *window(const char *name);
// The text of an answer field as the program reads it: CR LF line ends, without the invisible breaks
// the field puts into very long words.
QString answerText(const QPlainTextEdit *field);
void click(const QWidget *root, const char *name);
// What a person reads in a window's own controls, by name: frame titles, captions, field texts (CR LF line ends),
// a list's lines (joined by LF); the title under "<title>".
QMap<QString, QString> readableTexts(const QWidget *window);
inline QString readable(const QWidget *window, const char *name)
{
    return readableTexts(window).value(QString::fromLatin1(name));
}

// A main window connected to a loopback ET server (password "secret"), the server's record cleared.
struct ConnectedConsole {
    explicit ConnectedConsole(const QString &language = QStringLiteral("english"),
                              const std::function<void(korvane::ui::Environment &)> &adjust = {});
    // Plays a scenario as a user would, its steps separated by '|', each about a window W (a shown window by
    // objectName, else a control of the main window holding the control) and its control c:
    //   W/c       click c             W/c=text   type into a field, choose in a list (a list's line by number)
    //   W/c?text  wait until c reads text (see readableTexts)     W/c+  W/c-  wait until c is enabled, disabled
    //   W/        close W             W!         W is not shown
    //   >text     the server also answers every request with a print reply of text; '>' alone: with nothing;
    //             ">@file": with a capture's replies
    // Returns the first step that failed and what was read instead; empty when all passed.
    QString play(const QString &steps);
    // Everything sent so far, then a marker: "nothing more" is checked without sleeping.
    QList<QByteArray> sentThenMarker();
    // The requests "password command|..." the server should have received, then the marker.
    static QList<QByteArray> requests(const QByteArray &sent);

    TestProgram program;
    FakeServer server;
    korvane::console::MainWindow main;
};
