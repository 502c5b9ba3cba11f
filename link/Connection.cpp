#include "Connection.h"

#include "Clock.h"

Connection::Connection(Clock& clock) : m_clock(clock) {}

Connection::~Connection()
{
    close();
}

void Connection::attach(std::unique_ptr<SerialPort> port)
{
    close();
    m_port = std::move(port);
}

void Connection::close()
{
    if (m_port)
        m_port->close();
    m_port.reset();
    // Answers still owed on the old port will never arrive on a new one.
    m_unansweredLines = 0;
}

void Connection::pauseUs(qint64 us)
{
    const qint64 start = m_clock.nowUs();
    m_clock.sleepUs(us);
    m_fixedPausesUs += us;
    if (m_pauseObserver)
        m_pauseObserver(start, us);
}
