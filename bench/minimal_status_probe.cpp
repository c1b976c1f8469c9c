// The smallest Qt program that sends the status probe and prints the answer: the yardstick for
// korvane-rcon --status (bench/cli_status.sh).
#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: minimal_status_probe ADDRESS PORT\n", stderr);
        return 2;
    }
    QUdpSocket socket;
    socket.connectToHost(QHostAddress(QString::fromLocal8Bit(argv[1])), QString::fromLocal8Bit(argv[2]).toUShort());
    QObject::connect(&socket, &QUdpSocket::readyRead, [&] {
        const QByteArray answer = socket.receiveDatagram().data();
        std::fwrite(answer.constData(), 1, static_cast<std::size_t>(answer.size()), stdout);
        QCoreApplication::exit(answer.isEmpty() ? 1 : 0);
    });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });
    socket.write(QByteArray(4, '\xFF') + "getstatus");
    return QCoreApplication::exec();
}
