// Reading and writing INI profile files: real files in a temporary folder, compared byte for byte.

#include "settings/profile.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using korvane::profile::MaxValueLength;
using korvane::profile::readProfileString;
using korvane::profile::writeProfileString;

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The sort of settings file a user ends up with after editing it by hand.
const QByteArray EditedSettings = "; Korvane settings\r\n"
                                  "[window]\r\n"
                                  "Left=120\r\n"
                                  "\r\n"
                                  "[lang]\r\n"
                                  "Default=english\r\n"
                                  "; remember the choice\r\n"
                                  "Checked=False\r\n"
                                  "\r\n"
                                  "\r\n"
                                  "[servers]\r\n"
                                  "Last=127.0.0.1:27960\r\n"_ba;

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void readsEntry_data();
    void readsEntry();
    void readsValueCutTo254Characters_data();
    void readsValueCutTo254Characters();
    void readsMissingFileAsEmpty();
    void readsFileAgainOnEveryCall();

    void writesEntry_data();
    void writesEntry();
    void writeCreatesMissingFile();
    void writesWindows1252_data();
    void writesWindows1252();
    void writeLeavesOnlyTheFileBehind();
    void writeIntoMissingFolderIsSilent_data();
    void writeIntoMissingFolderIsSilent();
    void writeIntoReadOnlyFolderIsSilent();

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

    const QString lang = u"lang"_s;
    const QString def = u"Default"_s;

    QTest::newRow("same letter case") << "[lang]\r\nDefault=french\r\n"_ba << lang << def << u"french"_s;
    QTest::newRow("section in other letter case") << "[LaNg]\r\nDefault=french\r\n"_ba << lang << def << u"french"_s;
    QTest::newRow("key in other letter case") << "[lang]\r\nDEFAULT=french\r\n"_ba << lang << def << u"french"_s;
    QTest::newRow("asked in other letter case")
        << "[lang]\r\nDefault=french\r\n"_ba << u"LANG"_s << u"default"_s << u"french"_s;
    QTest::newRow("blanks inside the brackets")
        << "  [ lang ]  \r\nDefault=french\r\n"_ba << lang << def << u"french"_s;
    QTest::newRow("blanks around names asked for")
        << "[lang]\r\nDefault=french\r\n"_ba << u" lang "_s << u"\tDefault "_s << u"french"_s;
    QTest::newRow("blanks and tabs around '='")
        << "[lang]\r\n  Default \t=  \tfrench  \r\n"_ba << lang << def << u"french"_s;
    QTest::newRow("blanks inside the value kept")
        << "[lang]\r\nForm1.btnSay = Say it  now \r\n"_ba << lang << u"Form1.btnSay"_s << u"Say it  now"_s;
    QTest::newRow("'=' inside the value kept") << "[lang]\r\nquery=a=b\r\n"_ba << lang << u"query"_s << u"a=b"_s;
    QTest::newRow("double quotes removed")
        << "[lang]\r\nText=\" padded \"\r\n"_ba << lang << u"Text"_s << u" padded "_s;
    QTest::newRow("single quotes removed") << "[lang]\r\nText='quoted'\r\n"_ba << lang << u"Text"_s << u"quoted"_s;
    QTest::newRow("unmatched quotes kept") << "[lang]\r\nText=\"half'\r\n"_ba << lang << u"Text"_s << u"\"half'"_s;
    QTest::newRow("quote inside the value kept") << "[lang]\r\nText=it's\r\n"_ba << lang << u"Text"_s << u"it's"_s;
    QTest::newRow("lone quote kept") << "[lang]\r\nText=\"\r\n"_ba << lang << u"Text"_s << u"\""_s;
    QTest::newRow("empty quotes read as empty") << "[lang]\r\nText=\"\"\r\n"_ba << lang << u"Text"_s << QString();
    QTest::newRow("value Default reads as empty") << "[lang]\r\nDefault=Default\r\n"_ba << lang << def << QString();
    QTest::newRow("quoted Default reads as empty")
        << "[lang]\r\nDefault=\"Default\"\r\n"_ba << lang << def << QString();
    QTest::newRow("value default in other case is kept")
        << "[lang]\r\nDefault=default\r\n"_ba << lang << def << u"default"_s;
    QTest::newRow("Checked true in other case is kept")
        << "[lang]\r\nChecked=TRUE\r\n"_ba << lang << u"Checked"_s << u"TRUE"_s;
    QTest::newRow("empty value") << "[lang]\r\nDefault=\r\n"_ba << lang << def << QString();
    QTest::newRow("only blanks after '='") << "[lang]\r\nDefault=   \r\n"_ba << lang << def << QString();
    QTest::newRow("missing section") << "[window]\r\nDefault=french\r\n"_ba << lang << def << QString();
    QTest::newRow("missing key") << "[lang]\r\nChecked=True\r\n"_ba << lang << def << QString();
    QTest::newRow("key of the next section not taken")
        << "[lang]\r\nChecked=True\r\n[other]\r\nDefault=french\r\n"_ba << lang << def << QString();
    QTest::newRow("entries ahead of any section ignored")
        << "Default=dutch\r\n[lang]\r\n"_ba << lang << def << QString();
    QTest::newRow("empty file") << QByteArray() << lang << def << QString();
    QTest::newRow("first matching key wins")
        << "[lang]\r\nDefault=german\r\ndefault=dutch\r\n"_ba << lang << def << u"german"_s;
    QTest::newRow("first matching section wins")
        << "[lang]\r\nChecked=True\r\n[LANG]\r\nDefault=dutch\r\n"_ba << lang << def << QString();
    QTest::newRow("comment line ignored")
        << "[lang]\r\n;Default=german\r\nDefault=dutch\r\n"_ba << lang << def << u"dutch"_s;
    QTest::newRow("indented comment line ignored") << "[lang]\r\n  ; Default=german\r\n"_ba << lang << def << QString();
    QTest::newRow("comment kept inside a value")
        << "[lang]\r\nDefault=dutch ; note\r\n"_ba << lang << def << u"dutch ; note"_s;
    QTest::newRow("line without '=' ignored")
        << "[lang]\r\nDefault\r\nDefault french\r\n"_ba << lang << def << QString();
    QTest::newRow("text after the closing bracket ignored")
        << "[lang] ; language\r\nDefault=french\r\n"_ba << lang << def << u"french"_s;
    QTest::newRow("LF line ends") << "[window]\nLeft=1\n[lang]\nDefault=french\n"_ba << lang << def << u"french"_s;
    QTest::newRow("last line without line end") << "[lang]\r\nDefault=french"_ba << lang << def << u"french"_s;
    QTest::newRow("Windows-1252 bytes") << "[lang]\r\nFrame1=Fran\xe7"
                                           "ais \x80\r\n"_ba
                                        << lang << u"frame1"_s << u"Français €"_s;
    QTest::newRow("Windows-1252 key name") << "[lang]\r\n\xc9t\xe9=summer\r\n"_ba << lang << u"Été"_s << u"summer"_s;
}

void TestProfile::readsEntry()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QVERIFY(writeBytes(m_file, content));
    const QString value = readProfileString(section, key, m_file);
    QCOMPARE(value, expected);
    QCOMPARE(value.isEmpty(), expected.isEmpty());
}

void TestProfile::readsValueCutTo254Characters_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expectedLength");

    QTest::newRow("253 characters whole") << 253 << 253;
    QTest::newRow("254 characters whole") << 254 << 254;
    QTest::newRow("255 characters cut") << 255 << 254;
    QTest::newRow("300 characters cut") << 300 << 254;
}

void TestProfile::readsValueCutTo254Characters()
{
    QFETCH(int, length);
    QFETCH(int, expectedLength);

    // A pattern that shows where the cut fell.
    QByteArray value;
    for (int i = 0; i < length; ++i)
        value += char('a' + i % 26);
    QVERIFY(writeBytes(m_file, "[lang]\r\nlong=" + value + "\r\nnext=1\r\n"));

    QCOMPARE(MaxValueLength, 254);
    QCOMPARE(readProfileString(u"lang"_s, u"long"_s, m_file), QString::fromLatin1(value.first(expectedLength)));
    QCOMPARE(readProfileString(u"lang"_s, u"next"_s, m_file), u"1"_s);
}

void TestProfile::readsMissingFileAsEmpty()
{
    QVERIFY(!QFileInfo::exists(m_file));
    QVERIFY(readProfileString(u"lang"_s, u"Default"_s, m_file).isEmpty());
    QVERIFY(readProfileString(u"lang"_s, u"Checked"_s, m_dir->filePath(u"missing/settings.ini"_s)).isEmpty());
    QVERIFY(readProfileString(u"lang"_s, u"Default"_s, QString()).isEmpty());
    // A folder where the file should be reads as a missing file.
    QVERIFY(readProfileString(u"lang"_s, u"Default"_s, m_dir->path()).isEmpty());
    QVERIFY(!QFileInfo::exists(m_file));
}

void TestProfile::readsFileAgainOnEveryCall()
{
    QVERIFY(writeBytes(m_file, "[lang]\r\nDefault=english\r\n"_ba));
    QCOMPARE(readProfileString(u"lang"_s, u"Default"_s, m_file), u"english"_s);

    // Same size, so a reader that looked at the size or a cached copy would miss the change.
    QVERIFY(writeBytes(m_file, "[lang]\r\nDefault=dutch!!\r\n"_ba));
    QCOMPARE(readProfileString(u"lang"_s, u"Default"_s, m_file), u"dutch!!"_s);

    QVERIFY(QFile::remove(m_file));
    QVERIFY(readProfileString(u"lang"_s, u"Default"_s, m_file).isEmpty());
}

void TestProfile::writesEntry_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QString lang = u"lang"_s;

    QTest::newRow("replace keeps other sections, comments and blank lines")
        << EditedSettings << lang << u"Default"_s << u"german"_s
        << "; Korvane settings\r\n"
           "[window]\r\n"
           "Left=120\r\n"
           "\r\n"
           "[lang]\r\n"
           "Default=german\r\n"
           "; remember the choice\r\n"
           "Checked=False\r\n"
           "\r\n"
           "\r\n"
           "[servers]\r\n"
           "Last=127.0.0.1:27960\r\n"_ba;
    QTest::newRow("add key after the section's last line, ahead of its blank lines")
        << EditedSettings << lang << u"Extra"_s << u"1"_s
        << "; Korvane settings\r\n"
           "[window]\r\n"
           "Left=120\r\n"
           "\r\n"
           "[lang]\r\n"
           "Default=english\r\n"
           "; remember the choice\r\n"
           "Checked=False\r\n"
           "Extra=1\r\n"
           "\r\n"
           "\r\n"
           "[servers]\r\n"
           "Last=127.0.0.1:27960\r\n"_ba;
    QTest::newRow("add section at the end of the file")
        << EditedSettings << u"favorites"_s << u"Count"_s << u"0"_s << EditedSettings + "[favorites]\r\nCount=0\r\n";
    QTest::newRow("replace in other letter case keeps the file's spelling")
        << "[Lang]\r\nDEFAULT=english\r\n"_ba << lang << u"default"_s << u"dutch"_s << "[Lang]\r\nDEFAULT=dutch\r\n"_ba;
    QTest::newRow("replace keeps blanks around '='")
        << "[lang]\r\n  Default = english \r\nChecked=True\r\n"_ba << lang << u"Default"_s << u"french"_s
        << "[lang]\r\n  Default = french\r\nChecked=True\r\n"_ba;
    QTest::newRow("replace a quoted value") << "[lang]\r\nDefault=\"english\"\r\n"_ba << lang << u"Default"_s
                                            << u"french"_s << "[lang]\r\nDefault=french\r\n"_ba;
    QTest::newRow("replace with an empty value")
        << "[lang]\r\nDefault=english\r\n"_ba << lang << u"Default"_s << QString() << "[lang]\r\nDefault=\r\n"_ba;
    QTest::newRow("replace changes only the first matching section")
        << "[lang]\r\nDefault=english\r\n[lang]\r\nDefault=german\r\n"_ba << lang << u"Default"_s << u"dutch"_s
        << "[lang]\r\nDefault=dutch\r\n[lang]\r\nDefault=german\r\n"_ba;
    QTest::newRow("replace keeps the last line without line end")
        << "[lang]\r\nDefault=english"_ba << lang << u"Default"_s << u"french"_s << "[lang]\r\nDefault=french"_ba;
    QTest::newRow("add key to a section without entries")
        << "[lang]\r\n\r\n[window]\r\nLeft=1\r\n"_ba << lang << u"Checked"_s << u"True"_s
        << "[lang]\r\nChecked=True\r\n\r\n[window]\r\nLeft=1\r\n"_ba;
    QTest::newRow("add key after a trailing comment of the section")
        << "[lang]\r\nDefault=english\r\n; end\r\n"_ba << lang << u"Checked"_s << u"True"_s
        << "[lang]\r\nDefault=english\r\n; end\r\nChecked=True\r\n"_ba;
    QTest::newRow("add key to the last section without final line end")
        << "[lang]\r\nDefault=english"_ba << lang << u"Checked"_s << u"True"_s
        << "[lang]\r\nDefault=english\r\nChecked=True\r\n"_ba;
    QTest::newRow("add key to a section that ends the file with blank lines")
        << "[lang]\r\nDefault=english\r\n\r\n"_ba << lang << u"Checked"_s << u"True"_s
        << "[lang]\r\nDefault=english\r\nChecked=True\r\n\r\n"_ba;
    QTest::newRow("add section to a file without final line end")
        << "[window]\r\nLeft=1"_ba << lang << u"Default"_s << u"english"_s
        << "[window]\r\nLeft=1\r\n[lang]\r\nDefault=english\r\n"_ba;
    QTest::newRow("add section to an empty file")
        << QByteArray() << lang << u"Default"_s << u"english"_s << "[lang]\r\nDefault=english\r\n"_ba;
    QTest::newRow("a key outside the section is not replaced")
        << "Default=dutch\r\n[window]\r\nDefault=german\r\n"_ba << lang << u"Default"_s << u"english"_s
        << "Default=dutch\r\n[window]\r\nDefault=german\r\n[lang]\r\nDefault=english\r\n"_ba;
    QTest::newRow("LF file gets LF lines when adding a key")
        << "[lang]\nDefault=english\n\n[window]\nLeft=1\n"_ba << lang << u"Checked"_s << u"True"_s
        << "[lang]\nDefault=english\nChecked=True\n\n[window]\nLeft=1\n"_ba;
    QTest::newRow("LF file gets LF lines when adding a section")
        << "[window]\nLeft=1"_ba << lang << u"Default"_s << u"english"_s
        << "[window]\nLeft=1\n[lang]\nDefault=english\n"_ba;
    QTest::newRow("mixed line ends kept, new lines CR LF")
        << "[lang]\nDefault=english\r\n[window]\n"_ba << lang << u"Checked"_s << u"True"_s
        << "[lang]\nDefault=english\r\nChecked=True\r\n[window]\n"_ba;
    QTest::newRow("names asked with blanks are written trimmed")
        << QByteArray() << u" lang "_s << u" Checked\t"_s << u"True"_s << "[lang]\r\nChecked=True\r\n"_ba;
    QTest::newRow("line break in a value keeps the entry on one line")
        << QByteArray() << lang << u"Text"_s << u"one\r\ntwo\n[x]"_s << "[lang]\r\nText=one  two [x]\r\n"_ba;
}

void TestProfile::writesEntry()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    QVERIFY(writeBytes(m_file, before));
    writeProfileString(section, key, value, m_file);
    QCOMPARE(readBytes(m_file), after);
    if (!value.contains(u'\n'))
        QCOMPARE(readProfileString(section, key, m_file), value.trimmed());
}

void TestProfile::writeCreatesMissingFile()
{
    QVERIFY(!QFileInfo::exists(m_file));
    writeProfileString(u"lang"_s, u"Default"_s, u"english"_s, m_file);
    QCOMPARE(readBytes(m_file), "[lang]\r\nDefault=english\r\n"_ba);

    // What the main window's start-up does next, when "Remember Settings" is ticked.
    writeProfileString(u"lang"_s, u"Checked"_s, u"True"_s, m_file);
    QCOMPARE(readBytes(m_file), "[lang]\r\nDefault=english\r\nChecked=True\r\n"_ba);
    QCOMPARE(readProfileString(u"lang"_s, u"Default"_s, m_file), u"english"_s);
    QCOMPARE(readProfileString(u"lang"_s, u"Checked"_s, m_file), u"True"_s);
}

void TestProfile::writesWindows1252_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("French") << u"Français"_s
                            << "Fran\xe7"
                               "ais"_ba
                            << u"Français"_s;
    QTest::newRow("German") << u"Übernehmen"_s
                            << "\xdc"
                               "bernehmen"_ba
                            << u"Übernehmen"_s;
    QTest::newRow("letters beyond Latin-1") << u"Ñ€ŠŸ"_s << "\xd1\x80\x8a\x9f"_ba << u"Ñ€ŠŸ"_s;
    QTest::newRow("unencodable characters become '?'") << u"Ω日"_s << "??"_ba << u"??"_s;
}

void TestProfile::writesWindows1252()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);

    QVERIFY(writeBytes(m_file, "[lang]\r\nDefault=english\r\n"_ba));
    writeProfileString(u"lang"_s, u"Frame1"_s, value, m_file);
    QCOMPARE(readBytes(m_file), "[lang]\r\nDefault=english\r\nFrame1=" + bytes + "\r\n");
    QCOMPARE(readProfileString(u"lang"_s, u"Frame1"_s, m_file), readBack);
}

void TestProfile::writeLeavesOnlyTheFileBehind()
{
    writeProfileString(u"lang"_s, u"Default"_s, u"english"_s, m_file);
    writeProfileString(u"lang"_s, u"Default"_s, u"french"_s, m_file);
    writeProfileString(u"lang"_s, u"Checked"_s, u"True"_s, m_file);

    const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(entries, QStringList{u"settings.ini"_s});
    QCOMPARE(readBytes(m_file), "[lang]\r\nDefault=french\r\nChecked=True\r\n"_ba);
}

void TestProfile::writeIntoMissingFolderIsSilent_data()
{
    QTest::addColumn<QString>("relativePath");

    QTest::newRow("missing folder") << u"missing/settings.ini"_s;
    QTest::newRow("missing nested folders") << u"a/b/c/settings.ini"_s;
    QTest::newRow("a file where the folder should be") << u"plain.txt/settings.ini"_s;
    QTest::newRow("a folder where the file should be") << u"folder"_s;
}

void TestProfile::writeIntoMissingFolderIsSilent()
{
    QFETCH(QString, relativePath);

    QVERIFY(writeBytes(m_dir->filePath(u"plain.txt"_s), "untouched"_ba));
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
    const QString path = m_dir->filePath(relativePath);

    writeProfileString(u"lang"_s, u"Default"_s, u"english"_s, path);

    QVERIFY(!QFileInfo(path).isFile());
    QVERIFY(readProfileString(u"lang"_s, u"Default"_s, path).isEmpty());
    QCOMPARE(readBytes(m_dir->filePath(u"plain.txt"_s)), "untouched"_ba);
    const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(entries, (QStringList{u"folder"_s, u"plain.txt"_s}));
}

void TestProfile::writeIntoReadOnlyFolderIsSilent()
{
    const QString folder = m_dir->filePath(u"readonly"_s);
    QVERIFY(QDir(m_dir->path()).mkdir(u"readonly"_s));
    const QString path = folder + u"/settings.ini"_s;
    QVERIFY(writeBytes(path, "[lang]\r\nDefault=english\r\n"_ba));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });

    // Whoever may write anyway (root) cannot show the failure; the call still has to return quietly.
    QFile probe(folder + u"/probe"_s);
    const bool permissionsEnforced = !probe.open(QIODevice::WriteOnly);
    if (!permissionsEnforced) {
        probe.close();
        probe.remove();
    }

    writeProfileString(u"lang"_s, u"Default"_s, u"french"_s, path);
    writeProfileString(u"lang"_s, u"Checked"_s, u"True"_s, folder + u"/new.ini"_s);

    if (!permissionsEnforced)
        QSKIP("This user writes into read-only folders; only the quiet return was checked.");
    QCOMPARE(readBytes(path), "[lang]\r\nDefault=english\r\n"_ba);
    QCOMPARE(readProfileString(u"lang"_s, u"Default"_s, path), u"english"_s);
    QVERIFY(!QFileInfo::exists(folder + u"/new.ini"_s));
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
