// Reading and writing INI profile files: real files in a temporary folder, compared byte for byte.

#include "fakeserver.h"
#include "settings/profile.h"

#include <QDir>
#include <QTemporaryDir>

using korvane::settings::readProfileString;
using korvane::settings::writeProfileString;

namespace {

// "<head>", "<tail>": a file edited by hand around its "lang" entries; "<300>", "<254>": as many letters.
QByteArray expand(const char *text)
{
    return QByteArray(text)
        .replace("<head>", "; Korvane settings\r\n[window]\r\nLeft=120\r\n\r\n[lang]\r\n")
        .replace("<tail>", "; remember the choice\r\nChecked=False\r\n\r\n\r\n[servers]\r\nLast=127.0.0.1:27960\r\n")
        .replace("<300>", QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(12).first(300))
        .replace("<254>", QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(12).first(254));
}

// Reads of a key of [lang] (in UTF-8; Windows-1252 in the file).
// clang-format off
constexpr struct {
    const char *name, *file, *key, *value;
} Reads[] = {
    {"names in other letter case, blanks around them", "  [ LaNg ]  \r\n  DEFAULT \t=  \tfrench  \r\n", "default", "french"},
    {"value Default reads as empty", "[lang]\r\nDefault=Default\r\n", "Default", ""},
    {"Windows-1252 bytes", "[lang]\r\n\xc9t\xe9=Fran\xe7\x61is \x80\r\n", "Été", "Français €"},
    {"300 characters cut to 254", "[lang]\r\nDefault=<300>", "Default", "<254>"}};

// Writes to a key of [lang] into a file holding `before` (none: no file): the bytes after, the value read back.
constexpr struct {
    const char *name, *before, *key, *value, *after, *readBack;
} Writes[] = {
    {"replace keeps other sections, comments and blank lines", "<head>Default=english\r\n<tail>", "Default", "german",
     "<head>Default=german\r\n<tail>", "german"},
    {"add after the section's last line, ahead of its blank lines", "<head><tail>", "Extra", "1",
     "<head>; remember the choice\r\nChecked=False\r\nExtra=1\r\n\r\n\r\n[servers]\r\nLast=127.0.0.1:27960\r\n", "1"},
    {"replace in other letter case keeps the spelling and blanks", "[Lang]\r\n  DEFAULT = english \r\n", "default",
     "dutch", "[Lang]\r\n  DEFAULT = dutch\r\n", "dutch"},
    {"a key outside the section is not replaced", "Default=dutch\r\n[window]\r\nDefault=german", "Default", "english",
     "Default=dutch\r\n[window]\r\nDefault=german\r\n[lang]\r\nDefault=english\r\n", "english"},
    {"a lone CR ending the file stays in its line", "[x]\nLeft=1\n[lang\r", "Default", "english",
     "[x]\nLeft=1\n[lang\r\r\n[lang]\nDefault=english\n", "english"},
    {"LF file gets LF lines", "[lang]\nDefault=english\n\n[window]\nLeft=1\n", "Checked", "True",
     "[lang]\nDefault=english\nChecked=True\n\n[window]\nLeft=1\n", "True"},
    {"a missing file made; a line break in a value kept on one line", nullptr, "Text", "one\r\ntwo\n[x]", "[lang]\r\nText=one  two [x]\r\n",
     "one  two [x]"},
    {"accented text in Windows-1252", "[lang]\r\n", "Frame1", "Français Ñ€ŠŸ", "[lang]\r\nFrame1=Fran\xe7\x61is \xd1\x80\x8a\x9f\r\n",
     "Français Ñ€ŠŸ"}};
// clang-format on

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_file = m_dir.filePath(u"settings.ini"_s);

private Q_SLOTS:
    void init() { QFile::remove(m_file); }

    void reads_data() { testdata::addRows(Reads); }
    void reads()
    {
        const auto &r = testdata::current(Reads);
        QVERIFY(testdata::writeBytes(m_file, expand(r.file)));
        QCOMPARE(readProfileString(u"lang"_s, QString::fromUtf8(r.key), m_file), QString::fromUtf8(expand(r.value)));
    }

    void writes_data() { testdata::addRows(Writes); }

    void writes()
    {
        const auto &w = testdata::current(Writes);
        if (w.before)
            QVERIFY(testdata::writeBytes(m_file, expand(w.before)));
        writeProfileString(u"lang"_s, QString::fromUtf8(w.key), QString::fromUtf8(w.value), m_file);
        QCOMPARE(testdata::bytesOrMissing(m_file), expand(w.after));
        QCOMPARE(readProfileString(u"lang"_s, QString::fromUtf8(w.key), m_file), QString::fromUtf8(w.readBack));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"settings.ini"_s});
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
