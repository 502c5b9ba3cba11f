#include "NetworkSerialPort.h"

#include "GensioLoop.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QRegularExpression>

#include <gensio/gensio.h>
#include <gensio/sergensio.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

// What the port and the library's callbacks share. The callbacks run on the
// library's thread; everything here is guarded by mutex.
struct NetworkLine {
    std::mutex mutex;
    std::condition_variable changed;

    bool openDone = false;
    int openError = 0;

    // Arrived and not read yet; once it holds kInputLimit bytes the library
    // stops reading, and the server's own buffers (then the line) hold the rest.
    QByteArray input;
    bool readPaused = false;
    // Taken, with mutex after it, around a pause or resume of reading and
    // its flag, so that the two never cross.
    std::mutex flow;

    // The server closed the connection or the network failed.
    bool gone = false;
    bool writeReady = false;

    // Rate requests and the server's answers, counted in order.
    quint64 rateRequests = 0;
    quint64 rateAnswers = 0;
    qint32 answeredRate = 0;
    // Cleared when a request went unanswered: a server that ignores
    // requests is not waited for again until it answers one.
    bool serverAnswers = true;

    // Posts an arrival to the port's thread; empty while nobody listens.
    std::function<void()> wake;
    bool wakePosted = false;

    void postWake()
    {
        if (wake && !wakePosted) {
            wakePosted = true;
            wake();
        }
    }
};

namespace {

const QString kRfc2217Scheme = QStringLiteral("rfc2217://");
const QString kSocketScheme = QStringLiteral("socket://");

constexpr qsizetype kInputLimit = 64 * 1024;
// The longest a write waits for the connection to take more bytes.
constexpr int kWriteStallMs = 1000;
// The longest a rate change waits for the server's confirmation.
constexpr int kRateAnswerMs = 1000;

// The library's handle on the shared state: freed with the connection, so
// that no callback can outlive what it touches.
struct LineHolder : gensio_frdata {
    std::shared_ptr<NetworkLine> line;
};

NetworkLine& lineOf(void* holder)
{
    return *static_cast<LineHolder*>(holder)->line;
}

void freeHolder(gensio*, gensio_frdata* data)
{
    delete static_cast<LineHolder*>(data);
}

int onEvent(gensio* io, void* holder, int event, int error, unsigned char* buffer, gensiods* size,
            const char* const*)
{
    NetworkLine& line = lineOf(holder);
    switch (event) {
    case GENSIO_EVENT_READ: {
        std::lock_guard flow(line.flow);
        std::lock_guard lock(line.mutex);
        if (error) {
            line.gone = true;
            gensio_set_read_callback_enable(io, false);
        } else {
            const qsizetype taken = qMin<qsizetype>(qsizetype(*size), kInputLimit - line.input.size());
            line.input.append(reinterpret_cast<const char*>(buffer), taken);
            if (taken < qsizetype(*size)) {
                line.readPaused = true;
                gensio_set_read_callback_enable(io, false);
            }
            *size = gensiods(taken);
        }
        line.changed.notify_all();
        line.postWake();
        return 0;
    }
    case GENSIO_EVENT_WRITE_READY: {
        gensio_set_write_callback_enable(io, false);
        std::lock_guard lock(line.mutex);
        line.writeReady = true;
        line.changed.notify_all();
        return 0;
    }
    default:
        // Modem and line state reports are of no use here.
        return GE_NOTSUP;
    }
}

void onOpened(gensio*, int error, void* holder)
{
    NetworkLine& line = lineOf(holder);
    std::lock_guard lock(line.mutex);
    line.openDone = true;
    line.openError = error;
    line.changed.notify_all();
}

void onRateAnswered(sergensio*, int error, unsigned int rate, void* holder)
{
    NetworkLine& line = lineOf(holder);
    std::lock_guard lock(line.mutex);
    ++line.rateAnswers;
    line.answeredRate = error ? 0 : qint32(rate);
    line.serverAnswers = true;
    line.changed.notify_all();
}

QString connectProblem(int error)
{
    switch (error) {
    case GE_CONNREFUSE:
        return QStringLiteral("the connection was refused");
    case GE_TIMEDOUT:
        return QStringLiteral("no answer");
    case GE_HOSTDOWN:
        return QStringLiteral("the host cannot be reached");
    case GE_REMCLOSE:
        return QStringLiteral("the server closed the connection at once");
    default:
        return QString::fromLatin1(gensio_err_to_str(error));
    }
}

PortOpening noConnection(const NetworkPortName& name, const QString& problem)
{
    return PortOpening::failedBecause(OpenFailure::NoConnection,
                                      QStringLiteral("No connection to %1: %2.").arg(name.server(), problem));
}

} // namespace

std::optional<NetworkPortName> NetworkPortName::parse(const QString& name)
{
    static const QRegularExpression form(
        QStringLiteral("^(rfc2217|socket)://"
                       "(?:\\[([0-9A-Fa-f:.]{2,45})\\]|([A-Za-z0-9][A-Za-z0-9.-]{0,252}))"
                       ":([0-9]{1,5})$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const uint port = match.captured(4).toUInt();
    if (port == 0 || port > 65535)
        return std::nullopt;
    NetworkPortName result;
    result.protocol = match.captured(1).compare(QLatin1String("rfc2217"), Qt::CaseInsensitive) == 0
        ? Protocol::Rfc2217
        : Protocol::RawTcp;
    result.host = match.hasCaptured(2) && !match.captured(2).isEmpty() ? match.captured(2) : match.captured(3);
    result.port = quint16(port);
    return result;
}

bool NetworkPortName::hasNetworkScheme(const QString& name)
{
    return name.startsWith(kRfc2217Scheme, Qt::CaseInsensitive) || name.startsWith(kSocketScheme, Qt::CaseInsensitive);
}

QString NetworkPortName::server() const
{
    return QStringLiteral("%1 port %2").arg(host).arg(port);
}

NetworkSerialPort::NetworkSerialPort(gensio* io, std::shared_ptr<NetworkLine> line, NetworkPortName::Protocol protocol)
    : m_io(io), m_line(std::move(line)), m_protocol(protocol)
{
    gensio_set_read_callback_enable(m_io, true);
}

NetworkSerialPort::~NetworkSerialPort()
{
    close();
}

bool NetworkSerialPort::requestFrame()
{
    sergensio* serial = gensio_to_sergensio(m_io);
    // Answers to these come before the first rate's, which is waited for.
    return serial && sergensio_datasize(serial, 8, nullptr, nullptr) == 0
        && sergensio_parity(serial, SERGENSIO_PARITY_NONE, nullptr, nullptr) == 0
        && sergensio_stopbits(serial, 1, nullptr, nullptr) == 0
        && sergensio_flowcontrol(serial, SERGENSIO_FLOWCONTROL_NONE, nullptr, nullptr) == 0;
}

bool NetworkSerialPort::setLineSettings(qint32 baudRate)
{
    if (!m_io || baudRate <= 0)
        return false;
    if (!setsRate()) {
        m_rate = baudRate;
        return true;
    }
    sergensio* serial = gensio_to_sergensio(m_io);
    quint64 request = 0;
    {
        std::lock_guard lock(m_line->mutex);
        if (m_line->gone)
            return false;
        request = ++m_line->rateRequests;
    }
    if (!serial || sergensio_baud(serial, uint(baudRate), onRateAnswered, gensio_get_user_data(m_io)) != 0)
        return false;
    std::unique_lock lock(m_line->mutex);
    const auto answered = [&] { return m_line->rateAnswers >= request || m_line->gone; };
    const int waitMs = m_line->serverAnswers ? kRateAnswerMs : 0;
    if (!m_line->changed.wait_for(lock, std::chrono::milliseconds(waitMs), answered)) {
        m_line->serverAnswers = false;
        m_rate = baudRate;
        return false;
    }
    if (m_line->gone)
        return false;
    m_rate = m_line->answeredRate > 0 ? m_line->answeredRate : baudRate;
    return m_line->answeredRate == baudRate;
}

qint64 NetworkSerialPort::bytesWaiting()
{
    if (!m_io)
        return -1;
    std::lock_guard lock(m_line->mutex);
    if (m_line->input.isEmpty() && m_line->gone)
        return -1;
    return m_line->input.size();
}

QByteArray NetworkSerialPort::read(qint64 maxBytes)
{
    if (!m_io || maxBytes <= 0)
        return {};
    std::lock_guard flow(m_line->flow);
    QByteArray bytes;
    bool resume = false;
    {
        std::lock_guard lock(m_line->mutex);
        bytes = m_line->input.left(maxBytes);
        m_line->input.remove(0, bytes.size());
        if (m_line->readPaused && !m_line->gone && m_line->input.size() < kInputLimit) {
            m_line->readPaused = false;
            resume = true;
        }
    }
    if (resume)
        gensio_set_read_callback_enable(m_io, true);
    return bytes;
}

qint64 NetworkSerialPort::write(const QByteArray& bytes)
{
    if (!m_io || isLost())
        return -1;
    qint64 written = 0;
    while (written < bytes.size()) {
        {
            std::lock_guard lock(m_line->mutex);
            m_line->writeReady = false;
        }
        gensiods count = 0;
        const int error = gensio_write(m_io, &count, bytes.constData() + written, gensiods(bytes.size() - written),
                                       nullptr);
        if (error) {
            std::lock_guard lock(m_line->mutex);
            m_line->gone = true;
            break;
        }
        written += qint64(count);
        if (written >= bytes.size())
            break;
        // The connection's buffers are full: wait for room, not for ever.
        gensio_set_write_callback_enable(m_io, true);
        std::unique_lock lock(m_line->mutex);
        if (!m_line->changed.wait_for(lock, std::chrono::milliseconds(kWriteStallMs),
                                      [&] { return m_line->writeReady || m_line->gone; })
            || m_line->gone)
            break;
    }
    return written > 0 || bytes.isEmpty() ? written : -1;
}

bool NetworkSerialPort::waitReadable(int timeoutMs)
{
    if (!m_io)
        return false;
    std::unique_lock lock(m_line->mutex);
    m_line->changed.wait_for(lock, std::chrono::milliseconds(qMax(0, timeoutMs)),
                             [&] { return !m_line->input.isEmpty() || m_line->gone; });
    return !m_line->input.isEmpty();
}

void NetworkSerialPort::close()
{
    if (!m_io)
        return;
    {
        std::lock_guard lock(m_line->mutex);
        m_line->wake = nullptr;
        m_line->input.clear();
    }
    m_arrival = {};
    // Closes the connection; the library lets go of the shared state once
    // it is done with it.
    gensio_free(m_io);
    m_io = nullptr;
}

bool NetworkSerialPort::isLost() const
{
    std::lock_guard lock(m_line->mutex);
    return m_io && m_line->gone && m_line->input.isEmpty();
}

void NetworkSerialPort::setArrivalHandler(std::function<void()> handler)
{
    m_arrival = std::move(handler);
    std::lock_guard lock(m_line->mutex);
    m_line->wakePosted = false;
    if (!m_arrival || !m_io) {
        m_line->wake = nullptr;
        return;
    }
    // Called on the library's thread; the handler runs on this one.
    m_line->wake = [this] {
        QMetaObject::invokeMethod(&m_context, [this] { deliverArrival(); }, Qt::QueuedConnection);
    };
}

void NetworkSerialPort::deliverArrival()
{
    {
        std::lock_guard lock(m_line->mutex);
        m_line->wakePosted = false;
    }
    if (m_arrival)
        m_arrival();
}

PortOpening NetworkPortBackend::open(const QString& name)
{
    const std::optional<NetworkPortName> address = NetworkPortName::parse(name);
    if (!address)
        return PortOpening::failedBecause(
            OpenFailure::NoSuchPort,
            QStringLiteral("\"%1\" is not a network port: write rfc2217://HOST:PORT or socket://HOST:PORT.").arg(name));
    QElapsedTimer elapsed;
    elapsed.start();
    const ResolvedHost resolved = resolveHost(address->host, address->port, kConnectTimeoutMs);
    if (!resolved.problem.isEmpty())
        return noConnection(*address, resolved.problem);
    gensio_os_funcs* funcs = GensioLoop::osFuncs();
    if (!funcs)
        return noConnection(*address, QStringLiteral("the network library cannot start"));

    const bool rfc2217 = address->protocol == NetworkPortName::Protocol::Rfc2217;
    const QByteArray stack = (rfc2217 ? "telnet(rfc2217),tcp(nodelay)," : "tcp(nodelay),") + resolved.addresses.toLatin1();
    auto* holder = new LineHolder;
    holder->freed = freeHolder;
    holder->line = std::make_shared<NetworkLine>();
    std::shared_ptr<NetworkLine> line = holder->line;
    gensio* io = nullptr;
    if (const int error = str_to_gensio(stack.constData(), funcs, onEvent, holder, &io)) {
        delete holder;
        return noConnection(*address, connectProblem(error));
    }
    gensio_set_frdata(io, holder);
    if (const int error = gensio_open(io, onOpened, holder)) {
        gensio_free(io);
        return noConnection(*address, connectProblem(error));
    }
    int openError = 0;
    {
        std::unique_lock lock(line->mutex);
        const qint64 leftMs = qMax<qint64>(0, kConnectTimeoutMs - elapsed.elapsed());
        if (!line->changed.wait_for(lock, std::chrono::milliseconds(leftMs), [&] { return line->openDone; }))
            openError = GE_TIMEDOUT;
        else
            openError = line->openError;
    }
    if (openError) {
        gensio_free(io);
        if (openError == GE_TIMEDOUT)
            return noConnection(*address, QStringLiteral("no answer within %1 seconds").arg(kConnectTimeoutMs / 1000.0));
        return noConnection(*address, connectProblem(openError));
    }
    auto port = std::make_unique<NetworkSerialPort>(io, line, address->protocol);
    if (rfc2217 && !port->requestFrame())
        return PortOpening::failedBecause(
            OpenFailure::NoConnection,
            QStringLiteral("%1 does not answer as an RFC 2217 serial server; if it is a raw TCP port, open "
                           "socket://%2 instead.")
                .arg(address->server(), name.mid(kRfc2217Scheme.size())));
    return {std::move(port)};
}
