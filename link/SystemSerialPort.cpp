#include "SystemSerialPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Qt keeps at most this much unread input; beyond it the bytes stay in the
// driver, whose own buffer is bounded, instead of growing the process.
constexpr qint64 kReadBufferBytes = 64 * 1024;

// Whether a character device is a terminal (a serial port is one; /dev/null
// is not). A device that cannot be opened to look is given the benefit of the
// doubt.
bool isTerminalDevice(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool terminal = ::isatty(fd);
    ::close(fd);
    return terminal;
}

} // namespace

SystemSerialPort::SystemSerialPort(const QString& devicePath)
{
    m_port.setPortName(devicePath);
    m_port.setReadBufferSize(kReadBufferBytes);
    QObject::connect(&m_port, &QSerialPort::readyRead, [this] {
        if (m_arrival)
            m_arrival();
    });
    // A device that goes away between exchanges is reported here, from the
    // event loop; the connection is told as it is told of arriving bytes, so
    // it notices the loss without waiting for the next exchange.
    QObject::connect(&m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ResourceError && error != QSerialPort::DeviceNotFoundError)
            return;
        m_lost = true;
        if (m_arrival)
            m_arrival();
    });
    if (!m_port.open(QIODevice::ReadWrite))
        return;
    // No modem-control lines are driven. Ports that have none (a
    // pseudo-terminal) refuse the request, which is harmless.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    m_port.clearError();
}

void SystemSerialPort::noticeHangUp()
{
    // A far end that hung up (a pseudo-terminal whose other side closed, an
    // adapter pulled out) shows only in the descriptor's poll flags: reads
    // then fail without Qt reporting an error, and waits return at once.
    pollfd device{static_cast<int>(m_port.handle()), 0, 0};
    if (device.fd < 0 || ::poll(&device, 1, 0) < 0)
        return;
    if (device.revents & (POLLHUP | POLLERR | POLLNVAL))
        m_lost = true;
}

void SystemSerialPort::takeError()
{
    switch (m_port.error()) {
    case QSerialPort::NoError:
        return;
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::NotOpenError:
        m_lost = true;
        break;
    default:
        break;
    }
    m_port.clearError();
}

bool SystemSerialPort::setLineSettings(qint32 baudRate)
{
    if (m_lost)
        return false;
    const bool ok = m_port.setBaudRate(baudRate) && m_port.setDataBits(QSerialPort::Data8)
        && m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    takeError();
    return ok;
}

qint32 SystemSerialPort::baudRate() const
{
    return m_port.isOpen() && !m_lost ? m_port.baudRate() : 0;
}

qint64 SystemSerialPort::bytesWaiting()
{
    if (!m_port.isOpen() || m_lost)
        return -1;
    // Pull whatever the driver holds into Qt's buffer without waiting.
    m_port.waitForReadyRead(0);
    takeError();
    if (m_port.bytesAvailable() == 0)
        noticeHangUp();
    return m_lost ? -1 : m_port.bytesAvailable();
}

QByteArray SystemSerialPort::read(qint64 maxBytes)
{
    if (!m_port.isOpen() || maxBytes <= 0)
        return {};
    return m_port.read(maxBytes);
}

qint64 SystemSerialPort::write(const QByteArray& bytes)
{
    if (!m_port.isOpen() || m_lost)
        return -1;
    const qint64 written = m_port.write(bytes);
    while (m_port.bytesToWrite() > 0 && !m_lost) {
        const bool progressed = m_port.waitForBytesWritten(1000);
        takeError();
        if (!progressed)
            break;
    }
    takeError();
    return written;
}

bool SystemSerialPort::waitReadable(int timeoutMs)
{
    if (!m_port.isOpen() || m_lost)
        return false;
    if (m_port.bytesAvailable() > 0)
        return true;
    const bool arrived = m_port.waitForReadyRead(qMax(0, timeoutMs));
    takeError();
    if (!arrived)
        noticeHangUp();
    return arrived;
}

void SystemSerialPort::close()
{
    m_arrival = {};
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

bool SystemPortBackend::mayReadAndWrite(const QString& path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK | W_OK, AT_EACCESS) == 0
        || (errno != EACCES && errno != EPERM);
}

SystemPortBackend::SystemPortBackend(AccessCheck mayOpen) : m_mayOpen(std::move(mayOpen)) {}

PortOpening SystemPortBackend::open(const QString& name)
{
    const QString path = devicePath(name);
    if (path.isEmpty())
        return PortOpening::failed(OpenFailure::NoSuchPort);
    // Opened by the device's own path, so that a device held under one name
    // (a stable link, a plain name) is seen as held under every other.
    const QString device = QFileInfo(path).canonicalFilePath();
    auto port = std::make_unique<SystemSerialPort>(device.isEmpty() ? path : device);
    if (!port->isOpen())
        return PortOpening::failed(whyNotOpened(path), path);
    return {std::move(port)};
}

OpenFailure SystemPortBackend::whyNotOpened(const QString& path) const
{
    // Qt reports a device held by another program (its lock file, or the
    // exclusive mode of the terminal) and a device the user may not open
    // alike, as a permission error.
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == EACCES ? OpenFailure::PermissionRefused : OpenFailure::NoSuchPort;
    if (!S_ISCHR(status.st_mode) || !isTerminalDevice(path))
        return OpenFailure::NotASerialPort;
    if (m_mayOpen && !m_mayOpen(path))
        return OpenFailure::PermissionRefused;
    return OpenFailure::InUse;
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

QList<StablePortName> SystemPortBackend::stableNames(const QString& directory)
{
    QList<StablePortName> names;
    const QDir dir(directory);
    for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty())
            names.append({link.absoluteFilePath(), device});
    }
    return names;
}

PortDescription SystemPortBackend::describe(const QString& name)
{
    const QString path = devicePath(name);
    if (path.isEmpty())
        return {};
    const QString device = QFileInfo(path).canonicalFilePath();
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        if (info.systemLocation() == device)
            return {info.description(), info.manufacturer()};
    }
    return {};
}
