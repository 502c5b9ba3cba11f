#include "SystemSerialPort.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

SystemSerialPort::SystemSerialPort(const QString& devicePath)
{
    m_port.setPortName(devicePath);
    if (!m_port.open(QIODevice::ReadWrite))
        return;
    // No modem-control lines are driven. Ports that have none (a
    // pseudo-terminal) refuse the request, which is harmless.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    m_port.clearError();
}

bool SystemSerialPort::setLineSettings(qint32 baudRate)
{
    const bool ok = m_port.setBaudRate(baudRate) && m_port.setDataBits(QSerialPort::Data8)
        && m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
    return ok;
}

qint64 SystemSerialPort::bytesWaiting()
{
    if (!m_port.isOpen())
        return -1;
    // Pull whatever the driver holds into Qt's buffer without waiting.
    m_port.waitForReadyRead(0);
    m_port.clearError();
    return m_port.bytesAvailable();
}

QByteArray SystemSerialPort::read(qint64 maxBytes)
{
    if (!m_port.isOpen() || maxBytes <= 0)
        return {};
    return m_port.read(maxBytes);
}

qint64 SystemSerialPort::write(const QByteArray& bytes)
{
    if (!m_port.isOpen())
        return -1;
    const qint64 written = m_port.write(bytes);
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(1000))
            break;
    }
    m_port.clearError();
    return written;
}

bool SystemSerialPort::waitReadable(int timeoutMs)
{
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesAvailable() > 0)
        return true;
    const bool arrived = m_port.waitForReadyRead(qMax(0, timeoutMs));
    m_port.clearError();
    return arrived;
}

void SystemSerialPort::close()
{
    m_port.close();
}

QStringList SystemPortBackend::portNames()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        names.append(info.portName());
    names.sort();
    return names;
}

bool SystemPortBackend::claims(const QString& name) const
{
    return !devicePath(name).isEmpty();
}

std::unique_ptr<SerialPort> SystemPortBackend::open(const QString& name)
{
    const QString path = devicePath(name);
    if (path.isEmpty())
        return nullptr;
    auto port = std::make_unique<SystemSerialPort>(path);
    if (!port->isOpen())
        return nullptr;
    return port;
}

QString SystemPortBackend::devicePath(const QString& name)
{
    static const QRegularExpression bareName(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9._-]{0,63}$"));
    static const QRegularExpression pathName(QStringLiteral("^/[A-Za-z0-9._/+:-]{1,254}$"));
    if (pathName.match(name).hasMatch())
        return name.contains(QLatin1String("/../")) || name.endsWith(QLatin1String("/..")) ? QString() : name;
    if (bareName.match(name).hasMatch())
        return QStringLiteral("/dev/") + name;
    return {};
}
