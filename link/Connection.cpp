#include "Connection.h"

#include "Clock.h"
#include "Link.h"

#include <QCoreApplication>

namespace {

// How often owed and late answers are looked for between exchanges, and for
// how long after the line that may still be answered.
constexpr int kCollectIntervalMs = 50;
constexpr qint64 kCollectForMs = 10000;

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
        // Bytes that come while no exchange runs are collected soon after,
        // so they never pile up unread.
        m_port->setArrivalHandler([this] {
            if (eventLoopAvailable())
                QTimer::singleShot(0, this, &Connection::collectBetweenExchanges);
        });
    }
    emit stateChanged();
}

void Connection::close()
{
    if (m_port) {
        m_port->setArrivalHandler({});
        m_port->close();
    }
    m_port.reset();
    // Answers still owed on the old port will never arrive on a new one.
    m_owed.clear();
    m_collector.stop();
    emit stateChanged();
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

Connection::ReadRecord::ReadRecord(Connection& connection)
    : m_connection(connection), m_outer(connection.m_readRecord)
{
    m_connection.m_readRecord = this;
}

Connection::ReadRecord::~ReadRecord()
{
    m_connection.m_readRecord = m_outer;
}

void Connection::leaveBusy()
{
    if (--m_busyDepth > 0 || m_deferred.empty() || m_deferredScheduled)
        return;
    // Not from here: the scope may end in the middle of the handler that
    // opened it. The waiting actions run once that handler has returned.
    if (!eventLoopAvailable())
        return;
    m_deferredScheduled = true;
    QTimer::singleShot(0, this, &Connection::runDeferred);
}

void Connection::whenIdle(std::function<void()> action, QObject* guard)
{
    if (!isBusy() && m_deferred.empty()) {
        action();
        return;
    }
    m_deferred.push_back({std::move(action), QPointer<QObject>(guard), guard != nullptr});
    if (!isBusy() && !m_deferredScheduled && eventLoopAvailable()) {
        m_deferredScheduled = true;
        QTimer::singleShot(0, this, &Connection::runDeferred);
    }
}

void Connection::runDeferred()
{
    m_deferredScheduled = false;
    while (!m_deferred.empty() && !isBusy()) {
        Deferred next = std::move(m_deferred.front());
        m_deferred.pop_front();
        if (next.guarded && next.guard.isNull())
            continue;
        next.action();
    }
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

void Connection::pauseUs(qint64 us)
{
    const qint64 start = m_clock.nowUs();
    m_clock.sleepUs(us);
    m_fixedPausesUs += us;
    if (m_pauseObserver)
        m_pauseObserver(start, us);
}

void Connection::expectAnswer(const QByteArray& line, std::function<void()> onRefused)
{
    m_owed.expect(line, std::move(onRefused));
    armCollector();
}

void Connection::settleRefusals(std::vector<std::function<void()>> handlers)
{
    for (auto& handler : handlers)
        whenIdle(std::move(handler));
}

void Connection::noteAnswerMayComeLate()
{
    m_answerMayComeLate = true;
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
