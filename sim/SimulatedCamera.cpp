#include "SimulatedCamera.h"

#include "CameraCore.h"

#include <ctime>
#include <deque>
#include <limits>

namespace {

constexpr qint64 kNever = std::numeric_limits<qint64>::min();
constexpr int kMaxLineLength = 255;
constexpr qint64 kRestartUs = 1000000;
constexpr size_t kRecordLimit = 1u << 21;

qint64 ceilToUs(qint64 ns)
{
    return ns >= 0 ? (ns + 999) / 1000 : ns / 1000;
}

template<typename T>
void keepBounded(std::vector<T>& entries)
{
    if (entries.size() > kRecordLimit)
        entries.erase(entries.begin(), entries.begin() + std::ptrdiff_t(entries.size() / 2));
}

} // namespace

namespace {

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Adds the calling thread's processor time in its scope to a tally, when
// there is one.
class CpuTimeScope {
public:
    explicit CpuTimeScope(qint64* tally) : m_tally(tally), m_startNs(tally ? threadCpuNs() : 0) {}
    ~CpuTimeScope()
    {
        if (m_tally)
            *m_tally += threadCpuNs() - m_startNs;
    }
    CpuTimeScope(const CpuTimeScope&) = delete;
    CpuTimeScope& operator=(const CpuTimeScope&) = delete;

private:
    qint64* m_tally;
    qint64 m_startNs;
};

} // namespace

struct SimulatedCamera::Private {
    explicit Private(const QString& model) : core(model) {}

    qint64* cpuTally() { return countingCpuTime ? &cpuTimeNs : nullptr; }
    bool countingCpuTime = false;
    qint64 cpuTimeNs = 0;

    struct LineByte {
        qint64 atUs;
        char byte;
        qint32 rate;
    };

    void advanceTo(qint64 nowUs);
    void arrive(const LineByte& byte);
    void read(const LineByte& byte, qint64 atUs);
    void endLine(qint64 atUs);
    void send(const QByteArray& bytes, qint64 atUs);
    char noise();
    qint64 clamp(qint64 nowUs)
    {
        lastUs = qMax(lastUs, nowUs);
        return lastUs;
    }

    sim::CameraCore core;
    qint64 latencyUs = 1000;
    qint64 lastUs = kNever;

    std::deque<LineByte> toCamera;   // on the wire toward the camera
    qint64 toCameraFreeNs = kNever;
    std::deque<LineByte> input;      // received, not yet read by the camera
    QByteArray line;
    bool lineTooLong = false;
    qint64 busyUntilUs = kNever;
    qint64 deafUntilUs = kNever;
    std::optional<std::pair<qint64, qint32>> rateChange;

    std::deque<LineByte> toHost;     // on the wire toward the host
    qint64 toHostFreeNs = kNever;

    bool disconnected = false;
    bool silent = false;
    qint64 extraLatencyUs = 0;
    bool garbage = false;
    int overlongLength = 0;
    quint32 noiseState = 0x2545f491u;

    ExchangeRecord record;
    bool recordingBytes = true;
    std::function<void(qint64, const QByteArray&)> lineObserver;
};

SimulatedCamera::SimulatedCamera(const QString& model) : d(std::make_unique<Private>(model)) {}

SimulatedCamera::~SimulatedCamera() = default;

QString SimulatedCamera::model() const
{
    return d->core.model().name;
}

qint32 SimulatedCamera::listeningRate() const
{
    return d->core.listeningRate();
}

void SimulatedCamera::setListeningRate(qint32 baudRate)
{
    d->core.setListeningRate(baudRate);
    d->core.setStartRate(baudRate);
    d->rateChange.reset();
}

qint64 SimulatedCamera::latencyUs() const
{
    return d->latencyUs;
}

void SimulatedCamera::setLatencyUs(qint64 us)
{
    d->latencyUs = qMax<qint64>(0, us);
}

qint64 SimulatedCamera::byteTimeNs(qint32 baudRate)
{
    return 10LL * 1000000000LL / qMax(1, baudRate);
}

char SimulatedCamera::Private::noise()
{
    // High-bit bytes only: never a carriage return, never a letter, so noise
    // can neither end a line nor spell "OK".
    noiseState = noiseState * 1664525u + 1013904223u;
    return char(0x80 | ((noiseState >> 24) & 0x7f));
}

void SimulatedCamera::Private::send(const QByteArray& bytes, qint64 atUs)
{
    const qint32 rate = core.listeningRate();
    for (const char c : bytes) {
        const qint64 startNs = qMax(atUs * 1000, toHostFreeNs);
        toHostFreeNs = startNs + byteTimeNs(rate);
        const LineByte sent{ceilToUs(toHostFreeNs), garbage ? noise() : c, rate};
        toHost.push_back(sent);
        if (recordingBytes) {
            record.bytes.push_back({sent.atUs, sent.byte, rate, Direction::ToHost, true});
            keepBounded(record.bytes);
        }
    }
}

void SimulatedCamera::Private::arrive(const LineByte& byte)
{
    const bool understood = byte.rate == core.listeningRate() && byte.atUs >= deafUntilUs;
    if (recordingBytes) {
        record.bytes.push_back({byte.atUs, byte.byte, byte.rate, Direction::ToCamera, understood});
        keepBounded(record.bytes);
    }
    if (understood)
        input.push_back(byte);
}

void SimulatedCamera::Private::read(const LineByte& byte, qint64 atUs)
{
    if (silent)
        return;
    switch (byte.byte) {
    case '\n':
        return;
    case '\b':
    case '\x7f':
        // Typed by hand in a terminal: rub out the last character.
        if (!line.isEmpty()) {
            line.chop(1);
            send("\b \b", atUs);
        }
        return;
    case '\r':
        send("\r", atUs);
        endLine(atUs);
        return;
    default:
        if (line.size() >= kMaxLineLength) {
            lineTooLong = true;
            return;
        }
        line += byte.byte;
        send(QByteArray(1, byte.byte), atUs);
    }
}

void SimulatedCamera::Private::endLine(qint64 atUs)
{
    const QByteArray text = line;
    const bool tooLong = lineTooLong;
    line.clear();
    lineTooLong = false;

    record.lines.push_back({atUs, text});
    keepBounded(record.lines);
    if (!text.trimmed().isEmpty())
        ++record.commands;
    if (lineObserver)
        lineObserver(atUs, text);

    const sim::CameraCore::Reply reply = tooLong ? core.refuseLine("Line too long") : core.execute(text, atUs);
    if (reply.body.isEmpty())
        return;
    QByteArray body = reply.body;
    if (overlongLength > 0)
        body.prepend(QByteArray(overlongLength, 'X') + '\r');
    const qint64 answerAt = atUs + latencyUs + extraLatencyUs + reply.delayUs;
    send(body, answerAt);
    busyUntilUs = answerAt;
    const qint64 answerEndUs = ceilToUs(toHostFreeNs);
    if (reply.rateAfterAnswer)
        rateChange = std::make_pair(answerEndUs, *reply.rateAfterAnswer);
    if (reply.restart) {
        // Whatever was still queued is lost; the camera hears nothing until
        // it has started again, then listens at its start rate.
        input.clear();
        deafUntilUs = answerEndUs + kRestartUs;
        busyUntilUs = deafUntilUs;
        rateChange = std::make_pair(deafUntilUs, core.startRate());
    }
}

void SimulatedCamera::Private::advanceTo(qint64 nowUs)
{
    // Events in time order: a byte arriving at the camera, a rate change, the
    // camera reading its next input byte once it is no longer busy.
    for (;;) {
        const qint64 arrival = toCamera.empty() ? std::numeric_limits<qint64>::max() : toCamera.front().atUs;
        const qint64 change = rateChange ? rateChange->first : std::numeric_limits<qint64>::max();
        const qint64 reading = input.empty() ? std::numeric_limits<qint64>::max()
                                             : qMax(input.front().atUs, busyUntilUs);
        const qint64 next = qMin(arrival, qMin(change, reading));
        if (next > nowUs)
            return;
        if (next == change) {
            core.setListeningRate(rateChange->second);
            rateChange.reset();
        } else if (next == arrival) {
            const LineByte byte = toCamera.front();
            toCamera.pop_front();
            arrive(byte);
        } else {
            const LineByte byte = input.front();
            input.pop_front();
            read(byte, reading);
        }
    }
}

void SimulatedCamera::receive(const QByteArray& bytes, qint32 hostRate, qint64 nowUs)
{
    const CpuTimeScope counted(d->cpuTally());
    nowUs = d->clamp(nowUs);
    d->advanceTo(nowUs);
    if (d->disconnected)
        return;
    for (const char c : bytes) {
        const qint64 startNs = qMax(nowUs * 1000, d->toCameraFreeNs);
        d->toCameraFreeNs = startNs + byteTimeNs(hostRate);
        d->toCamera.push_back({ceilToUs(d->toCameraFreeNs), c, hostRate});
    }
}

QByteArray SimulatedCamera::takeOutput(qint64 nowUs, qint32 hostRate)
{
    const CpuTimeScope counted(d->cpuTally());
    nowUs = d->clamp(nowUs);
    d->advanceTo(nowUs);
    QByteArray arrived;
    while (!d->toHost.empty() && d->toHost.front().atUs <= nowUs) {
        const Private::LineByte byte = d->toHost.front();
        d->toHost.pop_front();
        if (d->disconnected)
            continue;
        arrived += byte.rate == hostRate ? byte.byte : d->noise();
    }
    return arrived;
}

std::optional<qint64> SimulatedCamera::nextEventUs() const
{
    std::optional<qint64> next;
    auto consider = [&next](qint64 atUs) { next = next ? qMin(*next, atUs) : atUs; };
    if (!d->toCamera.empty())
        consider(d->toCamera.front().atUs);
    if (!d->input.empty())
        consider(qMax(d->input.front().atUs, d->busyUntilUs));
    if (!d->toHost.empty())
        consider(d->toHost.front().atUs);
    if (d->rateChange)
        consider(d->rateChange->first);
    return next;
}

std::optional<qint64> SimulatedCamera::nextArrivalAtHostUs() const
{
    std::optional<qint64> next;
    auto consider = [&next](qint64 atUs) { next = next ? qMin(*next, atUs) : atUs; };
    if (!d->toHost.empty())
        consider(d->toHost.front().atUs);
    const qint64 oneByteUs = ceilToUs(byteTimeNs(d->core.listeningRate()));
    if (!d->toCamera.empty())
        consider(d->toCamera.front().atUs + oneByteUs);
    if (!d->input.empty())
        consider(qMax(d->input.front().atUs, d->busyUntilUs) + oneByteUs);
    // After a change of rate a byte takes another time: the port looks again.
    if (d->rateChange)
        consider(d->rateChange->first);
    return next;
}

void SimulatedCamera::setCountingCpuTime(bool on)
{
    d->countingCpuTime = on;
}

qint64 SimulatedCamera::cpuTimeNs() const
{
    return d->cpuTimeNs;
}

void SimulatedCamera::setInputLevel(int pin, int level)
{
    d->core.inputLevels.insert(pin, level);
}

void SimulatedCamera::setDisconnected(bool disconnected)
{
    d->disconnected = disconnected;
}

bool SimulatedCamera::isDisconnected() const
{
    return d->disconnected;
}

void SimulatedCamera::setSilent(bool silent)
{
    d->silent = silent;
}

void SimulatedCamera::setExtraLatencyUs(qint64 us)
{
    d->extraLatencyUs = qMax<qint64>(0, us);
}

void SimulatedCamera::setGarbageAnswers(bool garbage)
{
    d->garbage = garbage;
}

void SimulatedCamera::sendNoise(int count, qint64 nowUs)
{
    nowUs = d->clamp(nowUs);
    d->advanceTo(nowUs);
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += d->noise();
    d->send(bytes, nowUs);
}

void SimulatedCamera::setOverlongAnswers(int length)
{
    d->overlongLength = qMax(0, length);
}

void SimulatedCamera::refuseCommand(const QString& word)
{
    d->core.refusedWords.insert(word.trimmed().toUpper().toLatin1());
}

void SimulatedCamera::allowCommand(const QString& word)
{
    d->core.refusedWords.remove(word.trimmed().toUpper().toLatin1());
    d->core.refusedChanges.remove(word.trimmed().toUpper().toLatin1());
}

void SimulatedCamera::refuseChangesOf(const QString& word)
{
    d->core.refusedChanges.insert(word.trimmed().toUpper().toLatin1());
}

void SimulatedCamera::setDetectionsNeverFinish(bool never)
{
    d->core.detectionsNeverFinish = never;
}

std::optional<int> SimulatedCamera::savedShadingPattern(int slot) const
{
    return d->core.savedPattern(slot);
}

const SimulatedCamera::ExchangeRecord& SimulatedCamera::record() const
{
    return d->record;
}

void SimulatedCamera::clearRecord()
{
    d->record = {};
}

void SimulatedCamera::setRecordingBytes(bool on)
{
    d->recordingBytes = on;
}

QByteArrayList SimulatedCamera::receivedLines() const
{
    QByteArrayList lines;
    for (const ReceivedLine& line : d->record.lines)
        lines.append(line.text);
    return lines;
}

void SimulatedCamera::setLineObserver(std::function<void(qint64, const QByteArray&)> observer)
{
    d->lineObserver = std::move(observer);
}
