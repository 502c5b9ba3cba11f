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
}

void Connection::pauseMs(qint64 ms)
{
    const qint64 start = m_clock.nowUs();
    m_clock.sleepMs(ms);
    m_fixedPausesUs += ms * 1000;
    if (m_pauseObserver)
        m_pauseObserver(start, ms * 1000);
}
