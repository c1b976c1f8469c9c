// Reading and writing INI profile files: real files in a temporary folder, compared byte for byte.

#include "settings/profile.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using korvane::settings::ProfileSnapshot;
using korvane::settings::readProfileString;
using korvane::settings::writeProfileString;
using testdata::writeBytes;

namespace {

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A long value whose letters show where a cut fell.
const QByteArray Letters = "abcdefghijklmnopqrstuvwxyz"_ba.repeated(12);

// The sort of settings file a user ends up with after editing it by hand.
const QByteArray Edited = "; Korvane settings\r\n[window]\r\nLeft=120\r\n\r\n"
                          "[lang]\r\nDefault=english\r\n; remember the choice\r\nChecked=False\r\n\r\n\r\n"
                          "[servers]\r\nLast=127.0.0.1:27960\r\n"_ba;

// A read of [lang] Default, or of other names.
void readRow(const char *name, const QByteArray &content, const QString &expected, const QString &section = u"lang"_s,
             const QString &key = u"Default"_s)
{
    QTest::newRow(name) << content << section << key << expected;
}

// A write to [lang] into a file holding `before` (null: no file); `readBack` defaults to the value written.
void writeRow(const char *name, const QByteArray &before, const QString &key, const QString &value,
              const QByteArray &after, const std::optional<QString> &readBack = {})
{
    QTest::newRow(name) << before << key << value << after << readBack.value_or(value);
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void readsEntry_data();
    void readsEntry();
    void readsTheFileOnEveryCall();
    void writesEntry_data();
    void writesEntry();
    void failedWriteIsSilent();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void TestProfile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(u"settings.ini"_s);
}

void TestProfile::readsEntry_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    readRow("names in the file in other letter case", "[LaNg]\r\nDEFAULT=french\r\n", u"french"_s);
    readRow("names asked in other letter case", "[lang]\r\nDefault=french\r\n", u"french"_s, u"LANG"_s, u"default"_s);
    readRow("blanks around names and '='", "  [ lang ]  \r\n  Default \t=  \tfrench  \r\n", u"french"_s);
    readRow("blanks and '=' inside the value kept", "[lang]\r\nDefault= Say  a=b \r\n", u"Say  a=b"_s);
    readRow("quotes removed", "[lang]\r\nDefault=\" padded \"\r\n", u" padded "_s);
    readRow("value Default reads as empty", "[lang]\r\nDefault=Default\r\n", QString());
    readRow("value default in other case is kept", "[lang]\r\nDefault=default\r\n", u"default"_s);
    readRow("empty value", "[lang]\r\nDefault=   \r\n", QString());
    readRow("missing section", "[window]\r\nDefault=french\r\n", QString());
    readRow("missing key", "[lang]\r\nChecked=True\r\n", QString());
    readRow("key of the next section not taken", "[lang]\r\nChecked=True\r\n[other]\r\nDefault=french\r\n", QString());
    readRow("first matching section wins", "[lang]\r\nChecked=True\r\n[LANG]\r\nDefault=dutch\r\n", QString());
    readRow("first matching key wins", "[lang]\r\nDefault=dutch\r\nDEFAULT=german\r\n", u"dutch"_s);
    readRow("same key in an earlier section", "[x]\r\nDefault=german\r\n[lang]\r\nDefault=dutch\r\n", u"dutch"_s);
    readRow("comment line ignored", "[lang]\r\n;Default=german\r\nDefault=dutch ; note\r\n", u"dutch ; note"_s);
    readRow("LF line ends, last line without one", "[window]\nLeft=1\n[lang]\nDefault=french", u"french"_s);
    readRow("Windows-1252 bytes", "[lang]\r\n\xc9t\xe9=Fran\xe7\x61is \x80\r\n", u"Français €"_s, u"lang"_s, u"Été"_s);
    readRow("300 characters cut to 254", "[lang]\r\nDefault=" + Letters.first(300),
            QString::fromLatin1(Letters.first(254)));
}

void TestProfile::readsEntry()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QVERIFY(writeBytes(m_file, content));
    QCOMPARE(readProfileString(section, key, m_file), expected);
    QCOMPARE(ProfileSnapshot::ofFile(m_file).value(section, key), expected);
}

void TestProfile::readsTheFileOnEveryCall()
{
    const auto read = [this] { return readProfileString(u"lang"_s, u"Default"_s, m_file); };
    QCOMPARE(read(), QString());
    QCOMPARE(readProfileString(u"lang"_s, u"Default"_s, m_dir->filePath(u"missing/settings.ini"_s)), QString());
    QCOMPARE(readProfileString(u"lang"_s, u"Default"_s, m_dir->path()), QString());

    QVERIFY(writeBytes(m_file, "[lang]\r\nDefault=english\r\n"_ba));
    QCOMPARE(read(), u"english"_s);
    const ProfileSnapshot snapshot = ProfileSnapshot::ofFile(m_file);
    // Same size, so a reader that looked at the size or kept a copy would miss the change.
    QVERIFY(writeBytes(m_file, "[lang]\r\nDefault=dutch!!\r\n"_ba));
    QCOMPARE(read(), u"dutch!!"_s);
    QVERIFY(QFile::remove(m_file));
    QCOMPARE(read(), QString());
    // A snapshot answers from its one read.
    QCOMPARE(snapshot.value(u"lang"_s, u"Default"_s), u"english"_s);
}

void TestProfile::writesEntry_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("readBack");

    writeRow("replace keeps other sections, comments and blank lines", Edited, u"Default"_s, u"german"_s,
             QByteArray(Edited).replace("Default=english", "Default=german"));
    writeRow("add key after the section's last line, ahead of its blank lines", Edited, u"Extra"_s, u"1"_s,
             QByteArray(Edited).replace("Checked=False\r\n", "Checked=False\r\nExtra=1\r\n"));
    writeRow("create the missing file", QByteArray(), u"Default"_s, u"english"_s, "[lang]\r\nDefault=english\r\n");
    writeRow("replace in other letter case keeps the file's spelling and blanks", "[Lang]\r\n  DEFAULT = english \r\n",
             u"default"_s, u"dutch"_s, "[Lang]\r\n  DEFAULT = dutch\r\n");
    writeRow("replace only in the first matching section", "[lang]\r\nDefault=english\r\n[lang]\r\nDefault=german\r\n",
             u"Default"_s, u"dutch"_s, "[lang]\r\nDefault=dutch\r\n[lang]\r\nDefault=german\r\n");
    writeRow("a key outside the section is not replaced", "Default=dutch\r\n[window]\r\nDefault=german\r\n",
             u"Default"_s, u"english"_s,
             "Default=dutch\r\n[window]\r\nDefault=german\r\n[lang]\r\nDefault=english\r\n");
    writeRow("add key to a last line without line end", "[lang]\r\nDefault=english", u"Checked"_s, u"True"_s,
             "[lang]\r\nDefault=english\r\nChecked=True\r\n");
    writeRow("add section to a last line without line end", "[window]\r\nLeft=1", u"Default"_s, u"english"_s,
             "[window]\r\nLeft=1\r\n[lang]\r\nDefault=english\r\n");
    writeRow("a lone CR ending the file stays in its line", "[x]\nLeft=1\n[lang\r", u"Default"_s, u"english"_s,
             "[x]\nLeft=1\n[lang\r\r\n[lang]\nDefault=english\n");
    writeRow("LF file gets LF lines", "[lang]\nDefault=english\n\n[window]\nLeft=1\n", u"Checked"_s, u"True"_s,
             "[lang]\nDefault=english\nChecked=True\n\n[window]\nLeft=1\n");
    writeRow("line break in a value keeps the entry on one line", QByteArray(), u"Text"_s, u"one\r\ntwo\n[x]"_s,
             "[lang]\r\nText=one  two [x]\r\n", u"one  two [x]"_s);
    writeRow("accented text in Windows-1252", "[lang]\r\nDefault=english\r\n", u"Frame1"_s, u"Français Ñ€ŠŸ"_s,
             "[lang]\r\nDefault=english\r\nFrame1=Fran\xe7\x61is \xd1\x80\x8a\x9f\r\n");
}

void TestProfile::writesEntry()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QFETCH(QString, readBack);

    if (!before.isNull())
        QVERIFY(writeBytes(m_file, before));
    writeProfileString(u"lang"_s, key, value, m_file);
    QCOMPARE(testdata::bytesOrMissing(m_file), after);
    QCOMPARE(readProfileString(u"lang"_s, key, m_file), readBack);
    // The replacement file was renamed into place; nothing else is left behind.
    QCOMPARE(entriesOf(m_dir->path()), QStringList{u"settings.ini"_s});
}

void TestProfile::failedWriteIsSilent()
{
    const auto write = [](const QString &path) { writeProfileString(u"lang"_s, u"Default"_s, u"french"_s, path); };
    write(m_dir->filePath(u"missing/settings.ini"_s));
    write(m_dir->path()); // a folder where the file should be
    QCOMPARE(entriesOf(m_dir->path()), QStringList());

    QVERIFY(writeBytes(m_file, "[lang]\r\nDefault=english\r\n"_ba));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto restore = qScopeGuard([this] {
        QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    write(m_file);
    // Whoever may write anyway (root) cannot show the failure; the call still returned quietly.
    if (QFileInfo(m_dir->path()).isWritable())
        QSKIP("This user writes into read-only folders; only the quiet return was checked.");
    QCOMPARE(testdata::bytesOrMissing(m_file), "[lang]\r\nDefault=english\r\n"_ba);
    QCOMPARE(entriesOf(m_dir->path()), QStringList{u"settings.ini"_s});
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
