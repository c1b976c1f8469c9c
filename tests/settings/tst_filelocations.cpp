// Where the program keeps its files: the mode rule, the files of each mode, and a language remembered
// by an installed program, with the user's folders (XDG_CONFIG_HOME, XDG_DATA_HOME) in a temporary
// folder and the program in <temporary>/prefix/bin.

#include "app/startup.h"
#include "console/mainwindow.h"
#include "settings/filelocations.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPointer>

#include <cerrno>
#include <memory>

using namespace Qt::StringLiterals;
using korvane::settings::FileLocations;

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadUser | QFileDevice::WriteUser |
                                               QFileDevice::ExeUser;

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestFileLocations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { korvane::settings::nameApplication(); }
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        m_bin = path(u"/prefix/bin"_s);
        QVERIFY(QDir().mkpath(m_bin));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(u"/config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u"/data"_s)));
    }

    void decidesMode_data()
    {
        QTest::addColumn<QString>("beside"); // what is named lang beside the executable
        QTest::addColumn<FileLocations::Mode>("mode");
        QTest::addColumn<QStringList>("files"); // language folder, settings, store, history; "/..." below the root
        const QStringList installed = {u"/prefix/share/korvane/lang"_s, u"/config/korvane/settings.ini"_s,
                                       u"/data/korvane/Korvane.mdb"_s, u"/data/korvane/history.txt"_s};
        QTest::newRow("lang folder: portable") << u"folder"_s << FileLocations::Mode::Portable
                                               << QStringList{u"/prefix/bin/lang"_s, u"/prefix/bin/settings.ini"_s,
                                                              u"Korvane.mdb"_s, u"/prefix/bin/history.txt"_s};
        // The program folder is writable here, as /usr/bin is for root: still installed.
        QTest::newRow("nothing: installed") << QString() << FileLocations::Mode::Installed << installed;
        QTest::newRow("lang file: installed") << u"file"_s << FileLocations::Mode::Installed << installed;
    }

    void decidesMode()
    {
        QFETCH(QString, beside);
        QFETCH(FileLocations::Mode, mode);
        QFETCH(QStringList, files);

        if (beside == u"folder")
            QVERIFY(QDir(m_bin).mkdir(u"lang"_s));
        if (beside == u"file")
            QVERIFY(testdata::writeBytes(m_bin + u"/lang"_s, "[lang]\r\n"_ba));
        for (QString &file : files)
            file = file.startsWith(u'/') ? path(file) : file;

        const FileLocations locations = FileLocations::forExecutableFolder(m_bin);
        QCOMPARE(locations.mode(), mode);
        QCOMPARE((QStringList{locations.languageFolder(), locations.settingsFile(), locations.favoritesStoreFile(),
                              locations.historyFile()}),
                 files);
    }

    void createsUserFoldersOwnerOnly()
    {
        QVERIFY(QDir(m_bin).mkdir(u"lang"_s));
        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(), QString());
        QCOMPARE(entriesOf(m_root->path()), QStringList{u"prefix"_s}); // portable: nothing made
        QVERIFY(QDir(m_bin).rmdir(u"lang"_s));

        // A folder that is there already keeps its permissions; every level made is the owner's only.
        const QFileDevice::Permissions shared = OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ExeGroup;
        QVERIFY(QDir().mkdir(path(u"/data"_s)) && QFile::setPermissions(path(u"/data"_s), shared));
        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(), QString());
        for (const QString &made : {u"/config"_s, u"/config/korvane"_s, u"/data/korvane"_s})
            QCOMPARE(QFile::permissions(path(made)), OwnerOnly);
        QCOMPARE(QFile::permissions(path(u"/data"_s)), shared);
    }

    void reportsWhatCannotBeWritten()
    {
        // A file where a folder must be stops even root.
        QVERIFY(testdata::writeBytes(path(u"/blocker"_s), QByteArray()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(u"/blocker/config"_s)));

        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(),
                 u"The folder \"%1\" cannot be created: a file has that name."_s.arg(path(u"/blocker"_s)));
        korvane::settings::ProgramFolder folder(m_bin);
        QCOMPARE(folder.setLanguage(u"french"_s),
                 u"The settings file \"%1\" cannot be written: %2"_s.arg(
                     path(u"/blocker/config/korvane/settings.ini"_s), qt_error_string(ENOTDIR)));
        // Not stored, the choice still holds for this run.
        QCOMPARE(folder.language(), u"french"_s);
    }

    void installedProgramRemembersLanguage()
    {
        const QString lang = path(u"/prefix/share/korvane/lang"_s);
        QVERIFY(QDir().mkpath(lang));
        QVERIFY(QFile::copy(QStringLiteral(KORVANE_LANG_DIR "/french.lang"), lang + u"/french.lang"_s));
        QStringList messages;

        // Each run is put together as main() does it.
        const auto start = [&](const std::function<void(QWidget *)> &pick) {
            korvane::ui::Environment environment(m_bin);
            environment.favoritesFile = environment.folder.locations().favoritesStoreFile();
            environment.message = [&messages](QWidget *, const QString &text) { messages.append(text); };
            QCOMPARE(environment.folder.locations().createUserFolders(), QString());
            korvane::console::MainWindow main(std::move(environment));
            korvane::app::start(main);
            QPointer<QWidget> chooser = main.findChild<QWidget *>(u"Lang"_s);
            pick(chooser);
            QVERIFY(QTest::qWaitFor([&] { return chooser.isNull(); }, 2000));
            QVERIFY(main.isVisible());
            QCOMPARE(find<QAbstractButton>(&main, "btnKill")->text(), u"Arrêter le serveur"_s);
        };
        start([](QWidget *chooser) {
            QVERIFY(chooser->isVisible());
            click(chooser, "Option2");
            click(chooser, "Remember");
            click(chooser, "Load");
        });
        // The restart skips the chooser.
        start([](QWidget *chooser) { QVERIFY(!chooser); });

        QCOMPARE(testdata::bytesOrMissing(path(u"/config/korvane/settings.ini"_s)),
                 "[lang]\r\nDefault=french\r\nChecked=True\r\n"_ba);
        QCOMPARE(entriesOf(m_bin), QStringList());
        QCOMPARE(messages, QStringList());
    }

    // A folder where settings.ini should be: no write can succeed, not even as root.
    void unwritableSettingsAreSaidAndTheChoiceHolds()
    {
        TestProgram program(QString{});
        QVERIFY(QDir().mkdir(program.settingsFile()));
        korvane::console::MainWindow main(program.environment());
        korvane::app::start(main);
        QPointer<QWidget> chooser = main.findChild<QWidget *>(u"Lang"_s);
        QVERIFY(chooser);
        click(chooser, "Option3");
        click(chooser, "Remember");
        click(chooser, "Load");
        QVERIFY(main.isVisible());
        QCOMPARE(find<QAbstractButton>(&main, "btnKill")->text(), u"Server beenden"_s);
        // Said once for the language, once for remembering it.
        QCOMPARE(program.messages.size(), 2);
        for (const QString &message : program.messages)
            QVERIFY2(message.startsWith(u"The settings file \""_s + program.settingsFile()), qPrintable(message));
    }

private:
    QString path(const QString &relative) const { return m_root->path() + relative; }

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_bin;
};

QTEST_MAIN(TestFileLocations)
#include "tst_filelocations.moc"
