#include "Ports.h"

#include "Clock.h"
#include "Link.h"
#include "Messages.h"
#include "PortBackend.h"

std::unique_ptr<SerialPort> OpenPort(const QString& portName, qint32 baudRate)
{
    if (portName.isEmpty())
        return nullptr;
    std::unique_ptr<SerialPort> port = PortRegistry::instance().backendFor(portName).open(portName);
    if (!port) {
        showMessage(kPortInUseMessage);
        return nullptr;
    }
    port->setLineSettings(baudRate);
    return port;
}

bool ProbePort(const QString& portName)
{
    if (portName.isEmpty())
        return false;
    std::unique_ptr<SerialPort> port = PortRegistry::instance().backendFor(portName).open(portName);
    if (!port)
        return false;
    port->close();
    return true;
}

QStringList listedPortNames()
{
    return PortRegistry::instance().portNames();
}

qint32 DetectBaudRate(Connection& connection, const DetectionObserver& observer)
{
    if (!connection.isOpen())
        return kNoRateFound;
    Connection::BusyScope busy(connection);
    for (int pass = 1; pass <= kDetectionPasses; ++pass) {
        for (const qint32 rate : kDetectionRates) {
            // The port is closed under detection when its device goes away.
            SerialPort* port = connection.port();
            if (!port)
                return kNoRateFound;
            if (!port->supportsRate(rate))
                continue;
            if (observer && !observer(pass, rate))
                return kNoRateFound;
            ReadAvailable(connection);
            if (!connection.isOpen())
                return kNoRateFound;
            connection.setRate(rate);
            SendLine(connection, "\r");
            connection.pauseMs(100);
            const QByteArray answer = ReadAvailable(connection);
            if (answer.startsWith('\r'))
                return rate;
        }
    }
    return kNoRateFound;
}
