#include "Ser2net.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Whether something listens on the loopback port now, as the kernel tells
// (connecting to find out would make ser2net open the device).
bool listening(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(1) == local && fields.at(3) == "0A")
            return true;
    }
    return false;
}

} // namespace

Ser2net::~Ser2net()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
}

quint16 Ser2net::freePort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (socket >= 0)
        ::close(socket);
    return port;
}

QString Ser2net::start(const QString& devicePath, qint32 rawRate)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ser2net"), {"/usr/sbin", "/usr/bin", "/sbin"});
    if (program.isEmpty())
        return QStringLiteral("ser2net is not installed (scripts/packages.txt names it)");
    if (!m_dir.isValid())
        return QStringLiteral("no folder for the configuration");
    m_rfc2217Port = freePort();
    m_rawPort = freePort();
    while (m_rawPort == m_rfc2217Port)
        m_rawPort = freePort();
    // Characters are passed on as they come (no chardelay), as the README's
    // configuration does.
    const QString connection = QStringLiteral("connection: &%1\n"
                                              "  accepter: %2tcp,127.0.0.1,%3\n"
                                              "  connector: serialdev,%4,%5n81,local\n"
                                              "  options:\n"
                                              "    kickolduser: true\n"
                                              "    chardelay: false\n");
    const QString yaml = QStringLiteral("%YAML 1.1\n---\n")
        + connection.arg(QStringLiteral("rfc2217"), QStringLiteral("telnet(rfc2217),")).arg(m_rfc2217Port).arg(devicePath).arg(9600)
        + connection.arg(QStringLiteral("raw"), QString()).arg(m_rawPort).arg(devicePath).arg(rawRate);
    QFile config(m_dir.filePath(QStringLiteral("ser2net.yaml")));
    if (!config.open(QIODevice::WriteOnly) || config.write(yaml.toUtf8()) != yaml.toUtf8().size())
        return QStringLiteral("cannot write %1").arg(config.fileName());
    config.close();

    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, {"-n", "-u", "-P", m_dir.filePath(QStringLiteral("ser2net.pid")), "-c", config.fileName()});
    if (!m_process.waitForStarted(3000))
        return QStringLiteral("ser2net does not start: %1").arg(m_process.errorString());
    const QDeadlineTimer deadline(5000);
    while (!(listening(m_rfc2217Port) && listening(m_rawPort))) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return QStringLiteral("ser2net does not listen on ports %1 and %2: %3")
                .arg(m_rfc2217Port)
                .arg(m_rawPort)
                .arg(QString::fromLocal8Bit(m_process.readAll()));
        QThread::msleep(10);
    }
    return {};
}

void Ser2net::kill()
{
    m_process.kill();
    m_process.waitForFinished(3000);
}
