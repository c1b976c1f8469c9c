// Where the program keeps its files: the mode rule, the files of each mode, and a language remembered
// by an installed program, with the program in <temporary>/prefix/bin and the user's folders emptied
// for each test: XDG_CONFIG_HOME and XDG_DATA_HOME in the temporary folder; on Windows the roaming
// application data, which Qt's test mode moves into a folder of its own (qttest).

#include "app/startup.h"
#include "console/mainwindow.h"
#include "settings/filelocations.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>

#include <cerrno>
#include <memory>
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using korvane::settings::FileLocations;

namespace {

// Why settings.ini cannot be written below a file that stands where a folder should be.
#ifdef Q_OS_WIN
const QString NotAFolderReason = qt_error_string(ERROR_PATH_NOT_FOUND);
#else
const QString NotAFolderReason = qt_error_string(ENOTDIR);
#endif

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestFileLocations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        korvane::settings::nameApplication();
#ifdef Q_OS_WIN
        QStandardPaths::setTestModeEnabled(true);
#endif
    }
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        m_bin = path(u"/prefix/bin"_s);
        QVERIFY(QDir().mkpath(m_bin));
#ifdef Q_OS_WIN
        const QString appData = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + u"/qttest"_s;
        QDir(appData).removeRecursively();
        QFile::remove(appData); // a file a test before put in its place
        m_configHome = m_dataHome = appData;
#else
        m_configHome = path(u"/config"_s);
        m_dataHome = path(u"/data"_s);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome));
#endif
    }

    void decidesMode_data()
    {
        QTest::addColumn<QString>("beside"); // what is named lang beside the executable
        QTest::addColumn<FileLocations::Mode>("mode");
        // Language folder, settings, store, history; "/..." below the root, "/config" and "/data" the user's
        // folders.
        QTest::addColumn<QStringList>("files");
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
            file = located(file);

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

        // Every level made is the owner's only; a folder that is there already keeps its permissions.
        const QFileDevice::Permissions shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup;
        QVERIFY(QDir().mkpath(m_dataHome) && QFile::setPermissions(m_dataHome, shared));
        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(), QString());
        for (const QString &made : {u"/config"_s, u"/config/korvane"_s, u"/data/korvane"_s})
            QVERIFY2(testdata::isOwnerOnly(located(made)), qPrintable(made));
        QCOMPARE(QFile::permissions(m_dataHome) & shared, shared);
    }

    void reportsWhatCannotBeWritten()
    {
        // A file where the user's folder must be stops even root.
        QVERIFY(testdata::writeBytes(m_configHome, QByteArray()));

        QCOMPARE(FileLocations::forExecutableFolder(m_bin).createUserFolders(),
                 u"The folder \"%1\" cannot be created: a file has that name."_s.arg(
                     QDir::toNativeSeparators(m_configHome)));
        korvane::settings::ProgramSettings folder(m_bin);
        QCOMPARE(folder.setLanguage(u"french"_s),
                 u"The settings file \"%1\" cannot be written: %2"_s.arg(
                     QDir::toNativeSeparators(m_configHome + u"/korvane/settings.ini"_s), NotAFolderReason));
        // Not stored, the choice still holds for this run.
        QCOMPARE(folder.language(), u"french"_s);
    }

    void installedProgramRemembersLanguage()
    {
        const QString lang = path(u"/prefix/share/korvane/lang"_s);
        QVERIFY(QDir().mkpath(lang));
        QVERIFY(QFile::copy(QString::fromUtf8(KORVANE_LANG_DIR "/french.lang"), lang + u"/french.lang"_s));
        QStringList messages;

        const auto start = [&](const std::function<void(QWidget *)> &pick) {
            korvane::ui::Environment environment(m_bin);
            environment.message = [&messages](QWidget *, const QString &text) { messages.append(text); };
            QCOMPARE(environment.settings.locations().createUserFolders(), QString());
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

        QCOMPARE(testdata::bytesOrMissing(m_configHome + u"/korvane/settings.ini"_s),
                 "[lang]\r\nDefault=french\r\nChecked=True\r\n"_ba);
        QCOMPARE(entriesOf(m_bin), QStringList());
        QCOMPARE(messages, QStringList());
    }

    void unwritableSettingsAreSaidOnce_data()
    {
        QTest::addColumn<bool>("remember");
        QTest::newRow("not remembered") << false;
        QTest::newRow("remembered") << true;
    }

    // A folder where settings.ini should be: one box, also when "Remember Settings" makes a second write fail the
    // same way; the choice holds for the run.
    void unwritableSettingsAreSaidOnce()
    {
        QFETCH(bool, remember);
        TestProgram program(QString{});
        QVERIFY(QDir().mkdir(program.settingsFile()));
        korvane::console::MainWindow main(program.environment());
        korvane::app::start(main);
        QPointer<QWidget> chooser = main.findChild<QWidget *>(u"Lang"_s);
        QVERIFY(chooser);
        click(chooser, "Option3");
        if (remember)
            click(chooser, "Remember");
        click(chooser, "Load");
        QVERIFY(main.isVisible());
        QCOMPARE(find<QAbstractButton>(&main, "btnKill")->text(), u"Server beenden"_s);
        QCOMPARE(program.messages.size(), 1);
        QVERIFY2(program.messages[0].startsWith(u"The settings file \""_s +
                                                QDir::toNativeSeparators(program.settingsFile())),
                 qPrintable(program.messages[0]));
    }

private:
    QString path(const QString &relative) const
    {
        return m_root->path() + relative;
    }
    // "/config/..." and "/data/..." in the user's folders, "/..." below the root, anything else as it is.
    QString located(const QString &file) const
    {
        if (file.startsWith(u"/config/"_s) || file == u"/config"_s)
            return m_configHome + file.mid(7);
        if (file.startsWith(u"/data/"_s) || file == u"/data"_s)
            return m_dataHome + file.mid(5);
        return file.startsWith(u'/') ? path(file) : file;
    }

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_bin;
    QString m_configHome;
    QString m_dataHome;
};

QTEST_MAIN(TestFileLocations)
#include "tst_filelocations.moc"
