#include "fakeserver.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>

using namespace Qt::StringLiterals;

FakeServer::FakeServer(Mode mode)
    : m_mode(mode)
{
    if (!m_socket.bind(QHostAddress::LocalHost, 0))
        qFatal("cannot bind the fake server");
    connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
        do {
            const QNetworkDatagram datagram = m_socket.receiveDatagram();
            if (!datagram.isValid())
                continue;
            m_received.append(datagram.data());
            m_arrivals.append(std::chrono::steady_clock::now());
            m_peer = datagram.senderAddress();
            m_peerPort = static_cast<quint16>(datagram.senderPort());
            if (m_mode != Mode::Silent && datagram.data() == QByteArray(4, '\xFF') + "getstatus")
                sendToClient(statusReply(m_mode));
            else if (m_mode != Mode::Silent)
                for (const QByteArray &reply : std::as_const(m_rconReplies))
                    sendToClient(reply);
        } while (m_socket.hasPendingDatagrams());
    });
}

QByteArray FakeServer::statusReply(Mode mode)
{
    return testdata::captureReplies(mode == Mode::EtServer ? u"et-getstatus.json"_s : u"plain-getstatus.json"_s)
        .value(0);
}

namespace testdata {

QByteArray bytesOrMissing(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QList<QByteArray> captureReplies(const QString &file)
{
    const QByteArray json = bytesOrMissing(QStringLiteral(KORVANE_TEST_DATA "/captures/") + file);
    QList<QByteArray> replies;
    for (const QJsonValue &reply : QJsonDocument::fromJson(json).object().value(u"replies").toArray())
        replies.append(QByteArray::fromHex(reply.toObject().value(u"hex").toString().toLatin1()));
    return replies;
}

} // namespace testdata
