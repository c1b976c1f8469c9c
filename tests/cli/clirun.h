#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include "testdata.h"

struct CliRun {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs korvane-rcon (`password` in KORVANE_RCON_PASSWORD, never the test's own) with the event loop running,
// so that a loopback server in the test process reads each datagram as it arrives; killed after a minute.
inline CliRun runCli(const QStringList &arguments, const QByteArray &input = {}, const QString &password = {},
                     const QString &folder = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"KORVANE_RCON_PASSWORD"_s);
    if (!password.isEmpty())
        environment.insert(u"KORVANE_RCON_PASSWORD"_s, password);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(QString::fromUtf8(KORVANE_RCON), arguments);
    process.write(input);
    process.closeWriteChannel();
    loop.exec();
    process.kill(); // no-op once it has ended
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}
