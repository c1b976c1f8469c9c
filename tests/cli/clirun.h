#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

// One run of the real korvane-rcon executable. The event loop runs meanwhile, so a loopback server in
// the test process reads each datagram as it arrives; a run that hangs is killed after a minute.
struct CliRun {
    QStringList arguments{};
    QByteArray input{};
    QString workingDirectory{};
    QString password{}; // KORVANE_RCON_PASSWORD; the test's own environment never leaks in

    int exitCode = -1;
    QByteArray out{};
    QByteArray err{};

    CliRun &run()
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("KORVANE_RCON_PASSWORD"));
        if (!password.isEmpty())
            environment.insert(QStringLiteral("KORVANE_RCON_PASSWORD"), password);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingDirectory);
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        process.start(QStringLiteral(KORVANE_RCON), arguments);
        process.write(input);
        process.closeWriteChannel();
        loop.exec();
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        out = process.readAllStandardOutput();
        err = process.readAllStandardError();
        return *this;
    }
};
