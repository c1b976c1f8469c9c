#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include "testdata.h"

// A real openarena-server on a free loopback port, IPv4 only, a LAN server (no master), with a home of
// its own; stopped by its pid when the test ends. It answers 10 requests from one address at once,
// then one a second.
class OpenArena {
public:
    static bool installed() { return QFileInfo(u"/usr/games/openarena-server"_s).isExecutable(); }

    ~OpenArena()
    {
        m_server.terminate(); // SIGTERM to its pid
        if (!m_server.waitForFinished(10000))
            m_server.kill();
    }

    // Starts it with these settings besides its own, and waits until it answers the status probe, asked
    // at most once a second for half a minute; the log is in server.log in its home when it does not.
    bool start(const QString &settings)
    {
        QUdpSocket probe;
        if (!probe.bind(QHostAddress::LocalHost, 0)) // a free port, handed on to the server
            return false;
        m_port = probe.localPort();
        probe.close();
        m_server.setStandardOutputFile(m_home.filePath(u"server.log"_s));
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        const QString arguments = u"+set fs_homepath %1 +set net_enabled 1 +set net_ip 127.0.0.1 +set net_port %2 "
                                  "+set dedicated 1 %3"_s;
        m_server.start(u"/usr/games/openarena-server"_s,
                       QProcess::splitCommand(arguments.arg(m_home.path()).arg(m_port).arg(settings)));
        if (!m_server.waitForStarted())
            return false;
        for (int i = 0; i < 30 && m_server.state() == QProcess::Running; ++i) {
            probe.writeDatagram(QByteArray(4, '\xFF') + "getstatus", QHostAddress::LocalHost, m_port);
            if (probe.waitForReadyRead(1000))
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    QString address() const { return u"127.0.0.1:%1"_s.arg(m_port); }

private:
    QTemporaryDir m_home;
    QProcess m_server;
    quint16 m_port = 0;
};
