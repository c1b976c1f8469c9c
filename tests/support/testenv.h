#pragma once

#include "console/mainwindow.h"
#include "fakeserver.h"
#include "ui/environment.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <functional>

// A program folder with the shipped language files and settings naming the language (none: a null language);
// message boxes answer here.
struct TestProgram {
    explicit TestProgram(const QString &language = u"english"_s);
    QString file(const QString &name) const { return dir.filePath(name); } // "settings.ini", "Korvane.mdb"
    QString settingsFile() const { return file(u"settings.ini"_s); }
    korvane::ui::Environment environment();

    QTemporaryDir dir;
    QStringList messages;   // every message box shown, in order
    QString saveFileAnswer; // what the save dialog answers; empty means cancelled
};

// A control by objectName (the root itself included); a shown top-level window by objectName.
template <typename T = QWidget> T *find(const QWidget *root, const char *name)
{
    T *widget = root ? root->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    return widget || !root || root->objectName() != QLatin1StringView(name)
               ? widget
               : qobject_cast<T *>(const_cast<QWidget *>(root));
}
QWidget *window(const char *name);
// The text of an answer field as the program reads it: CR LF line ends, without the invisible breaks
// the field puts into very long words.
QString answerText(const QPlainTextEdit *field);
// A click where a user clicks: a check box or option button on its box, anything else in the middle.
void click(const QWidget *root, const char *name);
// What a person reads in a window's own controls, by name: frame titles, captions, field texts (CR LF line ends),
// a list's lines (joined by LF); the title under "<title>".
QMap<QString, QString> readableTexts(const QWidget *window);
inline QString readable(const QWidget *window, const char *name)
{
    return window ? readableTexts(window).value(QString::fromLatin1(name)) : QString();
}
// An rcon request datagram: "password command" after its header.
QByteArray rcon(const QByteArray &passwordAndCommand);

// A main window connected to a loopback ET server (password "secret"), the server's record cleared. A test acts
// on it as a user would, by names: a window is a shown top-level window, else a frame of the main window.
struct ConnectedConsole {
    explicit ConnectedConsole(const QString &language = u"english"_s,
                              const std::function<void(korvane::ui::Environment &)> &adjust = {});

    QWidget *at(const char *window) const;
    void click(const char *window, const char *control) const;
    // Replaces a field's text, or picks a drop-down list's entry by its text.
    void type(const char *window, const char *control, const QString &text) const;
    // Clicks a list's line.
    void choose(const char *window, const char *list, int line) const;
    QString reads(const char *window, const char *control) const { return readable(at(window), control); }
    // Every rcon request is answered with these replies from now on.
    void answerWith(const QList<QByteArray> &replies) { server.setRconReplies(replies); }
    // Everything sent so far. A marker request ends it, so "nothing more" is checked without sleeping.
    QList<QByteArray> sent();

    TestProgram program;
    FakeServer server;
    korvane::console::MainWindow main;
};
