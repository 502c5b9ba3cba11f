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

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#define PK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char kManufacturer[] = "PK70Sim";
constexpr uint32_t kVersion = 0x0101;
// The transmitter holds this many bytes beyond the one on the wire: a write
// returns once the rest of its bytes have gone out, so it takes the wire
// time of its bytes, and closing leaves at most this much still on its way.
constexpr qint64 kTransmitFifoBytes = 64;
// What the driver keeps of the camera's bytes until the caller reads them;
// beyond it, bytes are lost as on an overrun line.
constexpr qsizetype kReceiveBufferBytes = 64 * 1024;

qint64 nowUs()
{
    return SteadyClock::instance().nowUs();
}

std::chrono::steady_clock::time_point timeAt(qint64 us)
{
    return std::chrono::steady_clock::time_point(std::chrono::microseconds(us));
}

// One serial port of the grabber with the camera behind it. Everything that
// touches the camera happens under mutex, whichever thread calls and
// whichever opening of the port it comes through.
struct Slot {
    explicit Slot(std::shared_ptr<SimulatedCamera> simulated) : camera(std::move(simulated)) {}

    std::shared_ptr<SimulatedCamera> camera;
    std::mutex mutex;
    // Signalled by closing and by writes, which change what the line does next.
    std::condition_variable changed;
    bool inUse = false;
};

// One opening of a port. Callers hold it while they work, so closing it
// under a reader only marks it closed; the reader sees that and returns.
struct OpenPort {
    Slot& slot;
    std::unique_ptr<SimulatedPort> port;
    QByteArray pending; // taken off the line, not yet read by the caller
    qint64 wireFreeNs = 0; // when the transmitter has sent what it was given
    bool closed = false;
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
            // A grabber left running must not keep every byte it ever moved.
            camera->setRecordingBytes(false);
            lines.push_back(std::make_unique<Slot>(camera));
        }
    }
    std::vector<std::unique_ptr<Slot>> lines;
    std::mutex mutex; // guards open and lastReference
    // By the reference handed out. References are never reused, so a closed
    // one stays invalid even after other ports have been opened.
    std::map<uintptr_t, std::shared_ptr<OpenPort>> open;
    uintptr_t lastReference = 0;
};

Grabber& grabber()
{
    static Grabber instance;
    return instance;
}

std::shared_ptr<OpenPort> portOf(void* serialRef)
{
    Grabber& g = grabber();
    std::lock_guard lock(g.mutex);
    const auto found = g.open.find(reinterpret_cast<uintptr_t>(serialRef));
    return found == g.open.end() ? nullptr : found->second;
}

// Moves what has reached the port into the pending bytes (under the slot's
// lock), so that waiting on the port blocks until the next byte instead of
// returning at once.
void takeArrived(OpenPort& open)
{
    const QByteArray arrived = open.port->read(open.port->bytesWaiting());
    open.pending += arrived.left(kReceiveBufferBytes - open.pending.size());
}

// Waits on the slot until the line's next event, the deadline, or a change
// made by another thread, whichever comes first.
void waitForLine(OpenPort& open, std::unique_lock<std::mutex>& lock, qint64 deadlineUs)
{
    qint64 untilUs = deadlineUs;
    if (const std::optional<qint64> next = open.slot.camera->nextEventUs())
        untilUs = qMin(untilUs, qMax(*next, nowUs() + 1));
    open.slot.changed.wait_until(lock, timeAt(untilUs));
}

qint64 byteTimeNs(const OpenPort& open)
{
    return SimulatedCamera::byteTimeNs(qMax<qint32>(1, open.port->baudRate()));
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

// Runs body with the port's line locked; an unknown reference, or a port
// closed meanwhile, is an invalid reference.
template <typename Body>
int32_t withPort(void* serialRef, Body body)
{
    const std::shared_ptr<OpenPort> open = portOf(serialRef);
    if (!open)
        return clser::InvalidReference;
    std::unique_lock lock(open->slot.mutex);
    if (open->closed)
        return clser::InvalidReference;
    return body(*open, lock);
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
    *count = static_cast<uint32_t>(grabber().lines.size());
    return clser::NoError;
}

PK_EXPORT int32_t clGetSerialPortIdentifier(uint32_t index, char* portId, uint32_t* size)
{
    if (index >= grabber().lines.size())
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
    if (index >= g.lines.size())
        return clser::InvalidIndex;
    Slot& slot = *g.lines[index];
    std::lock_guard lock(g.mutex);
    std::lock_guard line(slot.mutex);
    if (slot.inUse)
        return clser::PortInUse;
    slot.inUse = true;
    // The new port starts empty: what the camera sent while the port was
    // closed is gone.
    auto open = std::make_shared<OpenPort>(OpenPort{slot, std::make_unique<SimulatedPort>(slot.camera, SteadyClock::instance()), {}, 0, false});
    const uintptr_t reference = ++g.lastReference;
    g.open.emplace(reference, std::move(open));
    *serialRef = reinterpret_cast<void*>(reference);
    return clser::NoError;
}

PK_EXPORT void clSerialClose(void* serialRef)
{
    Grabber& g = grabber();
    std::shared_ptr<OpenPort> open;
    {
        std::lock_guard lock(g.mutex);
        const auto found = g.open.find(reinterpret_cast<uintptr_t>(serialRef));
        if (found == g.open.end())
            return;
        open = std::move(found->second);
        g.open.erase(found);
    }
    std::lock_guard line(open->slot.mutex);
    open->closed = true;
    open->port.reset();
    open->pending.clear();
    open->slot.inUse = false;
    // A caller waiting on the port returns now.
    open->slot.changed.notify_all();
}

PK_EXPORT int32_t clGetNumBytesAvail(void* serialRef, uint32_t* count)
{
    if (!count)
        return clser::InvalidReference;
    return withPort(serialRef, [count](OpenPort& open, std::unique_lock<std::mutex>&) {
        takeArrived(open);
        *count = static_cast<uint32_t>(open.pending.size());
        return clser::NoError;
    });
}

// Reads exactly *size bytes, waiting up to timeoutMs for them; on a time-out
// nothing is taken and *size is 0 (also at once for more bytes than the
// driver keeps). Closing the port meanwhile ends the wait.
PK_EXPORT int32_t clSerialRead(void* serialRef, char* buffer, uint32_t* size, uint32_t timeoutMs)
{
    if (!size || (!buffer && *size > 0))
        return clser::InvalidReference;
    const qint64 deadlineUs = nowUs() + qint64(timeoutMs) * 1000;
    const int32_t status = withPort(serialRef, [&](OpenPort& open, std::unique_lock<std::mutex>& lock) {
        for (;;) {
            if (open.closed)
                return clser::InvalidReference;
            takeArrived(open);
            if (open.pending.size() >= qint64(*size))
                break;
            // More than the driver keeps can never be read at once.
            if (qint64(*size) > kReceiveBufferBytes || nowUs() >= deadlineUs)
                return clser::Timeout;
            waitForLine(open, lock, deadlineUs);
        }
        if (*size > 0)
            std::memcpy(buffer, open.pending.constData(), *size);
        open.pending.remove(0, *size);
        return clser::NoError;
    });
    if (status != clser::NoError)
        *size = 0;
    return status;
}

// Writes as fast as the line takes the bytes: the call returns once all but
// the transmitter's last bytes are on the wire, or, at timeoutMs, with *size
// telling how many went.
PK_EXPORT int32_t clSerialWrite(void* serialRef, char* buffer, uint32_t* size, uint32_t timeoutMs)
{
    if (!size || (!buffer && *size > 0))
        return clser::InvalidReference;
    const qint64 deadlineUs = nowUs() + qint64(timeoutMs) * 1000;
    uint32_t written = 0;
    const int32_t status = withPort(serialRef, [&](OpenPort& open, std::unique_lock<std::mutex>& lock) {
        while (written < *size) {
            if (open.closed)
                return clser::InvalidReference;
            // The camera's answers keep moving into the receive buffer.
            takeArrived(open);
            const qint64 byteNs = byteTimeNs(open);
            const qint64 now = nowUs() * 1000;
            open.wireFreeNs = qMax(open.wireFreeNs, now);
            const qint64 queued = (open.wireFreeNs - now + byteNs - 1) / byteNs;
            const qint64 room = qMin<qint64>(kTransmitFifoBytes - queued, *size - written);
            if (room > 0) {
                open.port->write(QByteArray(buffer + written, qsizetype(room)));
                open.wireFreeNs += room * byteNs;
                written += uint32_t(room);
                // A reader waiting on the line has new bytes to wait for.
                open.slot.changed.notify_all();
                continue;
            }
            if (nowUs() >= deadlineUs)
                return clser::Timeout;
            // Until one byte has left the transmitter.
            const qint64 roomAtUs = (open.wireFreeNs - (kTransmitFifoBytes - 1) * byteNs) / 1000 + 1;
            open.slot.changed.wait_until(lock, timeAt(qMin(roomAtUs, deadlineUs)));
        }
        return clser::NoError;
    });
    *size = written;
    return status;
}

PK_EXPORT int32_t clFlushPort(void* serialRef)
{
    return withPort(serialRef, [](OpenPort& open, std::unique_lock<std::mutex>&) {
        takeArrived(open);
        open.pending.clear();
        return clser::NoError;
    });
}

PK_EXPORT int32_t clSetBaudRate(void* serialRef, uint32_t bit)
{
    const qint32 rate = rateOfBit(bit);
    return withPort(serialRef, [rate](OpenPort& open, std::unique_lock<std::mutex>&) {
        if (rate == 0)
            return clser::BaudRateNotSupported;
        open.port->setLineSettings(rate);
        return clser::NoError;
    });
}

PK_EXPORT int32_t clGetSupportedBaudRates(void* serialRef, uint32_t* rates)
{
    if (!rates)
        return clser::InvalidReference;
    return withPort(serialRef, [rates](OpenPort&, std::unique_lock<std::mutex>&) {
        *rates = 0xFF; // every rate the API has a bit for
        return clser::NoError;
    });
}

#ifndef PK_GRABBER_WITHOUT_ERROR_TEXT
PK_EXPORT int32_t clGetErrorText(int32_t errorCode, char* text, uint32_t* size)
{
    // Every status code of the API.
    static const std::map<int32_t, const char*> texts = {
        {clser::NoError, "No error"},
        {clser::BufferTooSmall, "Buffer too small"},
        {clser::ManufacturerDoesNotExist, "Manufacturer does not exist"},
        {clser::PortInUse, "Port in use"},
        {clser::Timeout, "Time-out"},
        {clser::InvalidIndex, "Invalid port index"},
        {clser::InvalidReference, "Invalid port reference"},
        {clser::ErrorNotFound, "Error code not found"},
        {clser::BaudRateNotSupported, "Baud rate not supported"},
        {clser::OutOfMemory, "Out of memory"},
        {clser::UnableToLoadLibrary, "Unable to load library"},
        {clser::FunctionNotFound, "Function not found"},
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
