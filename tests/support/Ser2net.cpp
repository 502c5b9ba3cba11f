#include "Ser2net.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Whether something listens on the loopback port, as the kernel tells
// (connecting to find out would make ser2net open the device).
bool listening(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    const QByteArray local = "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    return table.open(QIODevice::ReadOnly) && table.readAll().contains(local + " 00000000:0000 0A");
}

} // namespace

Ser2net::~Ser2net()
{
    kill();
}

quint16 Ser2net::freePort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0
        && ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(socket);
    return bound ? ntohs(address.sin_port) : 0;
}

QString Ser2net::start(const QString& devicePath, qint32 rawRate)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ser2net"), {"/usr/sbin", "/usr/bin"});
    if (program.isEmpty())
        return QStringLiteral("ser2net is not installed (scripts/packages.txt names it)");
    m_rfc2217Port = freePort();
    do
        m_rawPort = freePort();
    while (m_rawPort == m_rfc2217Port);
    // As in the README: bytes are passed on as they come.
    const QString connection = QStringLiteral("connection: &%1\n"
                                              "  accepter: %2tcp(nodelay),127.0.0.1,%3\n"
                                              "  connector: serialdev,%4,%5n81,local\n"
                                              "  options:\n"
                                              "    kickolduser: true\n"
                                              "    chardelay: false\n");
    const QByteArray yaml = (QStringLiteral("%YAML 1.1\n---\n")
                             + connection.arg("rfc2217", "telnet(rfc2217),").arg(m_rfc2217Port).arg(devicePath).arg(9600)
                             + connection.arg("raw", "").arg(m_rawPort).arg(devicePath).arg(rawRate))
                                .toUtf8();
    QFile config(m_dir.filePath(QStringLiteral("ser2net.yaml")));
    if (!config.open(QIODevice::WriteOnly) || config.write(yaml) != yaml.size())
        return QStringLiteral("cannot write %1").arg(config.fileName());
    config.close();

    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, {"-n", "-u", "-P", m_dir.filePath("ser2net.pid"), "-c", config.fileName()});
    const QDeadlineTimer deadline(5000);
    while (!(listening(m_rfc2217Port) && listening(m_rawPort))) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return QStringLiteral("ser2net does not listen on ports %1 and %2: %3 %4")
                .arg(m_rfc2217Port)
                .arg(m_rawPort)
                .arg(m_process.errorString(), QString::fromLocal8Bit(m_process.readAll()));
        QThread::msleep(10);
    }
    return {};
}

void Ser2net::kill()
{
    m_process.kill();
    m_process.waitForFinished(3000);
}
