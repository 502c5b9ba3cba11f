// A Camera Link serial library over simulated cameras: a frame grabber whose
// serial ports each have a simulated camera behind them. It is loaded through
// the same path as a vendor's library, so everything above the API runs as
// with real hardware.
//
// PK70_GRABBER_MODELS   the camera of each port, comma-separated
//                       (default "PTM-TW640M,PTM-R560CL")
// PK70_GRABBER_RATE     the rate the cameras listen at (default 9600)

#include "CameraLinkSerialApi.h"
#include "Clock.h"
#include "SimulatedPort.h"

#include <QStringList>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#define PK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char kManufacturer[] = "PK70Sim";

struct Grabber {
    Grabber()
    {
        QString models = qEnvironmentVariable("PK70_GRABBER_MODELS");
        if (models.isEmpty())
            models = QStringLiteral("PTM-TW640M,PTM-R560CL");
        const int rate = qEnvironmentVariableIntValue("PK70_GRABBER_RATE");
        for (const QString& model : models.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            auto camera = std::make_shared<SimulatedCamera>(model.trimmed());
            if (rate > 0)
                camera->setListeningRate(rate);
            cameras.push_back(camera);
        }
    }
    std::vector<std::shared_ptr<SimulatedCamera>> cameras;
    std::map<unsigned long, SimulatedPort*> open; // port index -> its open port
};

Grabber& grabber()
{
    static Grabber instance;
    return instance;
}

SimulatedPort* portOf(void* serialRef)
{
    for (const auto& [index, port] : grabber().open) {
        if (port == serialRef)
            return port;
    }
    return nullptr;
}

int copyText(const char* text, char* buffer, unsigned long* size)
{
    const unsigned long needed = std::strlen(text) + 1;
    if (!size)
        return clser::InvalidReference;
    if (!buffer || *size < needed) {
        *size = needed;
        return clser::BufferTooSmall;
    }
    std::memcpy(buffer, text, needed);
    *size = needed;
    return clser::NoError;
}

qint32 rateOfBit(unsigned int bit)
{
    for (const qint32 rate : {9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600}) {
        if (clser::rateBit(rate) == bit)
            return rate;
    }
    return 0;
}

} // namespace

PK_EXPORT int clGetNumSerialPorts(unsigned int* count)
{
    if (!count)
        return clser::InvalidReference;
    *count = static_cast<unsigned int>(grabber().cameras.size());
    return clser::NoError;
}

PK_EXPORT int clGetSerialPortIdentifier(unsigned long index, char* portId, unsigned long* size)
{
    if (index >= grabber().cameras.size())
        return clser::InvalidIndex;
    const QByteArray id = "port" + QByteArray::number(qulonglong(index));
    return copyText(id.constData(), portId, size);
}

PK_EXPORT int clGetManufacturerInfo(char* name, unsigned int* size, unsigned int* version)
{
    if (!size)
        return clser::InvalidReference;
    unsigned long longSize = *size;
    const int status = copyText(kManufacturer, name, &longSize);
    *size = static_cast<unsigned int>(longSize);
    if (version)
        *version = 0x0101;
    return status;
}

PK_EXPORT int clSerialInit(unsigned long index, void** serialRef)
{
    if (!serialRef)
        return clser::InvalidReference;
    Grabber& g = grabber();
    if (index >= g.cameras.size())
        return clser::InvalidIndex;
    if (g.open.count(index))
        return clser::PortInUse;
    auto* port = new SimulatedPort(g.cameras[index], SteadyClock::instance());
    g.open[index] = port;
    *serialRef = port;
    return clser::NoError;
}

PK_EXPORT void clSerialClose(void* serialRef)
{
    Grabber& g = grabber();
    for (auto it = g.open.begin(); it != g.open.end(); ++it) {
        if (it->second == serialRef) {
            it->second->close();
            delete it->second;
            g.open.erase(it);
            return;
        }
    }
}

PK_EXPORT int clGetNumBytesAvail(void* serialRef, unsigned long* count)
{
    SimulatedPort* port = portOf(serialRef);
    if (!port || !count)
        return clser::InvalidReference;
    *count = static_cast<unsigned long>(qMax<qint64>(0, port->bytesWaiting()));
    return clser::NoError;
}

// Reads exactly *size bytes, waiting up to timeoutMs for them; on a time-out
// nothing is taken and *size is 0.
PK_EXPORT int clSerialRead(void* serialRef, char* buffer, unsigned long* size, unsigned long timeoutMs)
{
    SimulatedPort* port = portOf(serialRef);
    if (!port || !size || (!buffer && *size > 0))
        return clser::InvalidReference;
    Clock& clock = SteadyClock::instance();
    const qint64 deadline = clock.nowMs() + static_cast<qint64>(timeoutMs);
    while (port->bytesWaiting() < static_cast<qint64>(*size)) {
        const qint64 remaining = deadline - clock.nowMs();
        if (remaining <= 0) {
            *size = 0;
            return clser::Timeout;
        }
        port->waitReadable(static_cast<int>(qMin<qint64>(remaining, 10)));
    }
    const QByteArray bytes = port->read(static_cast<qint64>(*size));
    std::memcpy(buffer, bytes.constData(), bytes.size());
    *size = static_cast<unsigned long>(bytes.size());
    return clser::NoError;
}

PK_EXPORT int clSerialWrite(void* serialRef, char* buffer, unsigned long* size, unsigned long)
{
    SimulatedPort* port = portOf(serialRef);
    if (!port || !size || (!buffer && *size > 0))
        return clser::InvalidReference;
    const qint64 written = port->write(QByteArray(buffer, static_cast<qsizetype>(*size)));
    *size = static_cast<unsigned long>(qMax<qint64>(0, written));
    return clser::NoError;
}

PK_EXPORT int clFlushPort(void* serialRef)
{
    SimulatedPort* port = portOf(serialRef);
    if (!port)
        return clser::InvalidReference;
    port->read(port->bytesWaiting());
    return clser::NoError;
}

PK_EXPORT int clSetBaudRate(void* serialRef, unsigned int bit)
{
    SimulatedPort* port = portOf(serialRef);
    if (!port)
        return clser::InvalidReference;
    const qint32 rate = rateOfBit(bit);
    if (rate == 0)
        return clser::BaudRateNotSupported;
    port->setLineSettings(rate);
    return clser::NoError;
}

PK_EXPORT int clGetSupportedBaudRates(void* serialRef, unsigned int* rates)
{
    if (!portOf(serialRef) || !rates)
        return clser::InvalidReference;
    *rates = 0xFF; // every rate the API has a bit for
    return clser::NoError;
}

#ifndef PK_GRABBER_WITHOUT_ERROR_TEXT
PK_EXPORT int clGetErrorText(int errorCode, char* text, unsigned int* size)
{
    static const std::map<int, const char*> texts = {
        {clser::NoError, "No error"},
        {clser::BufferTooSmall, "Buffer too small"},
        {clser::PortInUse, "Port in use"},
        {clser::Timeout, "Time-out"},
        {clser::InvalidIndex, "Invalid port index"},
        {clser::InvalidReference, "Invalid port reference"},
        {clser::BaudRateNotSupported, "Baud rate not supported"},
    };
    const auto found = texts.find(errorCode);
    if (!size)
        return clser::InvalidReference;
    if (found == texts.end())
        return clser::ErrorNotFound;
    unsigned long longSize = *size;
    const int status = copyText(found->second, text, &longSize);
    *size = static_cast<unsigned int>(longSize);
    return status;
}
#endif
