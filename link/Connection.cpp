#include "Connection.h"

#include "Clock.h"
#include "Link.h"
#include "WireLog.h"

#include <QCoreApplication>

namespace {

// How often owed and late answers are looked for between exchanges, and for
// how long after the line that may still be answered.
constexpr int kCollectIntervalMs = 50;
constexpr qint64 kCollectForMs = 10000;
// How long bytes that nobody waits for gather before they are collected.
constexpr int kArrivalBatchMs = 20;

bool eventLoopAvailable()
{
    return QCoreApplication::instance() != nullptr;
}

} // namespace

Connection::Connection(Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
    m_collector.setInterval(kCollectIntervalMs);
    connect(&m_collector, &QTimer::timeout, this, &Connection::collectBetweenExchanges);
}

Connection::~Connection()
{
    m_collector.stop();
    if (m_port)
        m_port->close();
}

void Connection::attach(std::unique_ptr<SerialPort> port)
{
    close();
    m_port = std::move(port);
    m_lost = false;
    m_answerMayComeLate = false;
    m_hasLastError = true;
    if (m_port) {
        m_openedUs = m_clock.nowUs();
        if (m_wireLog)
            m_wireLog->portOpened(portDescription(), m_openedUs);
        // Bytes that come while no exchange runs are collected soon after,
        // so they never pile up unread.
        m_port->setArrivalHandler([this] { scheduleCollect(); });
    }
    emit stateChanged();
}

void Connection::scheduleCollect()
{
    // Bytes trickle in one read at a time; they are collected in batches, so
    // a camera that talks on and on costs few wake-ups.
    if (m_arrivalCollectScheduled || !eventLoopAvailable())
        return;
    m_arrivalCollectScheduled = true;
    QTimer::singleShot(kArrivalBatchMs, this, [this] {
        m_arrivalCollectScheduled = false;
        collectBetweenExchanges();
    });
}

void Connection::unread(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    m_unread.prepend(bytes);
    scheduleCollect();
}

void Connection::close()
{
    if (m_port) {
        m_port->setArrivalHandler({});
        m_port->close();
        if (m_wireLog)
            m_wireLog->portClosed(m_clock.nowUs());
    }
    m_port.reset();
    // Answers still owed on the old port will never arrive on a new one.
    m_owed.clear();
    m_unread.clear();
    m_collector.stop();
    emit stateChanged();
}

void Connection::setWireLog(WireLog* log)
{
    m_wireLog = log;
    if (m_wireLog && m_port)
        m_wireLog->portOpened(portDescription(), m_openedUs);
}

QString Connection::portDescription() const
{
    return QStringLiteral("%1 at %2 baud").arg(portName).arg(baudRate);
}

void Connection::logSent(const QByteArray& bytes)
{
    if (m_wireLog)
        m_wireLog->sent(bytes, m_clock.nowUs());
}

void Connection::logReceived(const QByteArray& bytes)
{
    if (m_wireLog)
        m_wireLog->received(bytes, m_clock.nowUs());
}

void Connection::setRate(qint32 baudRate)
{
    if (!m_port)
        return;
    m_port->setLineSettings(baudRate);
    if (m_wireLog)
        m_wireLog->rateSet(baudRate, m_clock.nowUs());
}

bool Connection::checkPort()
{
    if (!m_port)
        return false;
    if (!m_port->isLost())
        return true;
    close();
    m_lost = true;
    emit lost(portName);
    return false;
}

void Connection::leaveBusy()
{
    if (--m_busyDepth == 0)
        emit freed();
}

Connection::LoadScope::LoadScope(Connection& connection) : m_connection(connection)
{
    if (m_connection.m_loadDepth++ == 0)
        m_connection.m_loadSilent = false;
}

Connection::LoadScope::~LoadScope()
{
    if (--m_connection.m_loadDepth == 0)
        m_connection.m_loadSilent = false;
}

void Connection::pauseUs(qint64 us, const QString& what)
{
    BusyScope busy(*this);
    WaitScope waiting(*this, what);
    const qint64 start = m_clock.nowUs();
    // Timed to the microsecond, so that a pause never ends early; the
    // camera needs all of it, so Cancel does not shorten it.
    for (qint64 rest = us; rest > 0; rest = start + us - m_clock.nowUs()) {
        m_clock.sleepUs(qMin(rest, kPumpEveryMs * 1000));
        keepAlive();
    }
    notePause(PauseKind::Camera, start, us);
}

void Connection::keepAlive()
{
    if (!m_waitPump || m_pumping)
        return;
    const qint64 nowMs = m_clock.nowMs();
    if (nowMs - m_pumpedAtMs < kPumpEveryMs)
        return;
    m_pumpedAtMs = nowMs;
    m_pumping = true;
    m_waitPump();
    m_pumping = false;
}

Connection::WaitScope::WaitScope(Connection& connection, const QString& what)
    : m_connection(connection), m_outer(connection.m_waitingFor), m_outerSinceUs(connection.m_waitingSinceUs)
{
    m_connection.m_waitingFor = what;
    m_connection.m_waitingSinceUs = m_connection.m_clock.nowUs();
    m_connection.m_waitCancelled = false;
}

Connection::WaitScope::~WaitScope()
{
    m_connection.m_waitingFor = m_outer;
    m_connection.m_waitingSinceUs = m_outerSinceUs;
}

void Connection::cancelWait()
{
    if (m_waitingFor.isEmpty())
        return;
    m_waitCancelled = true;
    if (m_loadDepth > 0)
        m_loadSilent = true;
}

void Connection::expectAnswer(const QByteArray& line, std::function<void()> onRefused)
{
    m_owed.expect(line, std::move(onRefused));
    armCollector();
}

void Connection::settleRefusals(std::vector<std::function<void()>> handlers)
{
    // The handlers only take note; whatever they ask of the camera waits
    // for the connection to be free.
    for (auto& handler : handlers)
        handler();
}

void Connection::noteAnswerMayComeLate()
{
    m_answerMayComeLate = true;
    if (m_wireLog)
        m_wireLog->waitEnded();
    armCollector();
}

void Connection::armCollector()
{
    m_collectUntilMs = m_clock.nowMs() + kCollectForMs;
    if (eventLoopAvailable() && !m_collector.isActive())
        m_collector.start();
}

void Connection::passOnUnsolicited(const QByteArray& bytes)
{
    if (!bytes.isEmpty())
        emit unsolicitedInput(bytes);
}

void Connection::collectBetweenExchanges()
{
    // A running exchange reads the port itself.
    if (isBusy())
        return;
    if (!isOpen()) {
        m_collector.stop();
        return;
    }
    const QByteArray arrived = ReadAvailable(*this);
    if (!arrived.isEmpty()) {
        OwedAnswers::Taken taken = m_owed.take(arrived);
        settleRefusals(std::move(taken.refusals));
        passOnUnsolicited(arrived.mid(taken.used));
    }
    if (m_clock.nowMs() >= m_collectUntilMs) {
        // The camera had its time; answers owed so long are not coming.
        m_owed.clear();
        m_collector.stop();
    }
}
