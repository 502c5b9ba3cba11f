// A Camera Link serial library over simulated cameras: a frame grabber whose
// serial ports each have a simulated camera behind them. It is loaded through
// the same path as a vendor's library, so everything above the API runs as
// with real hardware. Only the API's functions are exported (clser.map).
//
// PK70_GRABBER_MODELS   the camera of each port, comma-separated
//                       (default "PTM-TW640M,PTM-R560CL")
// PK70_GRABBER_RATE     the rate the cameras listen at (default 9600)

#include "CameraLinkSerialApi.h"
#include "Clock.h"
#include "SimulatedPort.h"

#include <QStringList>

#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#define PK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char kManufacturer[] = "PK70Sim";
constexpr uint32_t kVersion = 0x0101;

struct OpenPort {
    uint32_t index;
    std::unique_ptr<SimulatedPort> port;
    QByteArray pending; // taken off the line, not yet read by the caller
};

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
    // By the reference handed out. References are never reused, so a closed
    // one stays invalid even after other ports have been opened.
    std::map<uintptr_t, OpenPort> open;
    uintptr_t lastReference = 0;
};

Grabber& grabber()
{
    static Grabber instance;
    return instance;
}

OpenPort* portOf(void* serialRef)
{
    const auto found = grabber().open.find(reinterpret_cast<uintptr_t>(serialRef));
    return found == grabber().open.end() ? nullptr : &found->second;
}

bool isOpen(uint32_t index)
{
    for (const auto& [reference, port] : grabber().open) {
        if (port.index == index)
            return true;
    }
    return false;
}

// Moves what has reached the port into the pending bytes, so that waiting on
// the port blocks until the next byte instead of returning at once.
void takeArrived(OpenPort& open)
{
    open.pending += open.port->read(open.port->bytesWaiting());
}

// Copies a text with its terminating zero, never past *size bytes; when it
// does not fit, *size becomes the size needed.
int32_t copyText(const char* text, char* buffer, uint32_t* size)
{
    if (!size)
        return clser::InvalidReference;
    const uint32_t needed = static_cast<uint32_t>(std::strlen(text) + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        return clser::BufferTooSmall;
    }
    std::memcpy(buffer, text, needed);
    *size = needed;
    return clser::NoError;
}

qint32 rateOfBit(uint32_t bit)
{
    for (const qint32 rate : {9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600}) {
        if (clser::rateBit(rate) == bit)
            return rate;
    }
    return 0;
}

} // namespace

PK_EXPORT int32_t clGetNumSerialPorts(uint32_t* count)
{
    if (!count)
        return clser::InvalidReference;
    *count = static_cast<uint32_t>(grabber().cameras.size());
    return clser::NoError;
}

PK_EXPORT int32_t clGetSerialPortIdentifier(uint32_t index, char* portId, uint32_t* size)
{
    if (index >= grabber().cameras.size())
        return clser::InvalidIndex;
    const QByteArray id = "port" + QByteArray::number(index);
    return copyText(id.constData(), portId, size);
}

PK_EXPORT int32_t clGetManufacturerInfo(char* name, uint32_t* size, uint32_t* version)
{
    if (version)
        *version = kVersion;
    return copyText(kManufacturer, name, size);
}

PK_EXPORT int32_t clSerialInit(uint32_t index, void** serialRef)
{
    if (!serialRef)
        return clser::InvalidReference;
    Grabber& g = grabber();
    if (index >= g.cameras.size())
        return clser::InvalidIndex;
    if (isOpen(index))
        return clser::PortInUse;
    const uintptr_t reference = ++g.lastReference;
    g.open.emplace(reference,
        OpenPort{index, std::make_unique<SimulatedPort>(g.cameras[index], SteadyClock::instance()), {}});
    *serialRef = reinterpret_cast<void*>(reference);
    return clser::NoError;
}

PK_EXPORT void clSerialClose(void* serialRef)
{
    grabber().open.erase(reinterpret_cast<uintptr_t>(serialRef));
}

PK_EXPORT int32_t clGetNumBytesAvail(void* serialRef, uint32_t* count)
{
    OpenPort* open = portOf(serialRef);
    if (!open || !count)
        return clser::InvalidReference;
    takeArrived(*open);
    *count = static_cast<uint32_t>(qMin<qint64>(open->pending.size(), std::numeric_limits<uint32_t>::max()));
    return clser::NoError;
}

// Reads exactly *size bytes, waiting up to timeoutMs for them; on a time-out
// nothing is taken and *size is 0.
PK_EXPORT int32_t clSerialRead(void* serialRef, char* buffer, uint32_t* size, uint32_t timeoutMs)
{
    OpenPort* open = portOf(serialRef);
    if (!open || !size || (!buffer && *size > 0))
        return clser::InvalidReference;
    Clock& clock = SteadyClock::instance();
    const qint64 deadline = clock.nowMs() + timeoutMs;
    for (;;) {
        takeArrived(*open);
        if (open->pending.size() >= static_cast<qint64>(*size))
            break;
        const qint64 remaining = deadline - clock.nowMs();
        if (remaining <= 0) {
            *size = 0;
            return clser::Timeout;
        }
        open->port->waitReadable(static_cast<int>(qMin<qint64>(remaining, std::numeric_limits<int>::max())));
    }
    if (*size > 0)
        std::memcpy(buffer, open->pending.constData(), *size);
    open->pending.remove(0, *size);
    return clser::NoError;
}

// Writes go out at once; the time-out is never needed.
PK_EXPORT int32_t clSerialWrite(void* serialRef, char* buffer, uint32_t* size, uint32_t)
{
    OpenPort* open = portOf(serialRef);
    if (!open || !size || (!buffer && *size > 0))
        return clser::InvalidReference;
    const qint64 written = open->port->write(QByteArray(buffer, static_cast<qsizetype>(*size)));
    *size = static_cast<uint32_t>(qMax<qint64>(0, written));
    return clser::NoError;
}

PK_EXPORT int32_t clFlushPort(void* serialRef)
{
    OpenPort* open = portOf(serialRef);
    if (!open)
        return clser::InvalidReference;
    takeArrived(*open);
    open->pending.clear();
    return clser::NoError;
}

PK_EXPORT int32_t clSetBaudRate(void* serialRef, uint32_t bit)
{
    OpenPort* open = portOf(serialRef);
    if (!open)
        return clser::InvalidReference;
    const qint32 rate = rateOfBit(bit);
    if (rate == 0)
        return clser::BaudRateNotSupported;
    open->port->setLineSettings(rate);
    return clser::NoError;
}

PK_EXPORT int32_t clGetSupportedBaudRates(void* serialRef, uint32_t* rates)
{
    if (!portOf(serialRef) || !rates)
        return clser::InvalidReference;
    *rates = 0xFF; // every rate the API has a bit for
    return clser::NoError;
}

#ifndef PK_GRABBER_WITHOUT_ERROR_TEXT
PK_EXPORT int32_t clGetErrorText(int32_t errorCode, char* text, uint32_t* size)
{
    static const std::map<int32_t, const char*> texts = {
        {clser::NoError, "No error"},
        {clser::BufferTooSmall, "Buffer too small"},
        {clser::PortInUse, "Port in use"},
        {clser::Timeout, "Time-out"},
        {clser::InvalidIndex, "Invalid port index"},
        {clser::InvalidReference, "Invalid port reference"},
        {clser::BaudRateNotSupported, "Baud rate not supported"},
    };
    if (!size)
        return clser::InvalidReference;
    const auto found = texts.find(errorCode);
    if (found == texts.end())
        return clser::ErrorNotFound;
    return copyText(found->second, text, size);
}

static_assert(std::is_same_v<decltype(&clGetErrorText), clGetErrorTextFn>);
#endif

// Every exported function has exactly the type a client resolves it as.
static_assert(std::is_same_v<decltype(&clSerialInit), clSerialInitFn>);
static_assert(std::is_same_v<decltype(&clSerialRead), clSerialReadFn>);
static_assert(std::is_same_v<decltype(&clSerialWrite), clSerialWriteFn>);
static_assert(std::is_same_v<decltype(&clSerialClose), clSerialCloseFn>);
static_assert(std::is_same_v<decltype(&clGetNumBytesAvail), clGetNumBytesAvailFn>);
static_assert(std::is_same_v<decltype(&clFlushPort), clFlushPortFn>);
static_assert(std::is_same_v<decltype(&clSetBaudRate), clSetBaudRateFn>);
static_assert(std::is_same_v<decltype(&clGetSupportedBaudRates), clGetSupportedBaudRatesFn>);
static_assert(std::is_same_v<decltype(&clGetNumSerialPorts), clGetNumSerialPortsFn>);
static_assert(std::is_same_v<decltype(&clGetSerialPortIdentifier), clGetSerialPortIdentifierFn>);
static_assert(std::is_same_v<decltype(&clGetManufacturerInfo), clGetManufacturerInfoFn>);
