#include "testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace testdata {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

QList<QByteArray> captureReplies(const QString &file)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(readFile(QStringLiteral(KORVANE_TEST_DATA "/captures/") + file));
    QList<QByteArray> replies;
    const QJsonArray array = doc.object().value(u"replies").toArray();
    for (const QJsonValue &reply : array)
        replies.append(QByteArray::fromHex(reply.toObject().value(u"hex").toString().toLatin1()));
    return replies;
}

QByteArray captureReply(const QString &file, int index) { return captureReplies(file).value(index); }

} // namespace testdata

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

void TestProgram::removeLanguageFiles() const { QDir(m_dir.filePath(QStringLiteral("lang"))).removeRecursively(); }

korvane::Environment TestProgram::environment()
{
    korvane::Environment env(folder(), m_dir.filePath(QStringLiteral("Korvane.mdb")));
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
