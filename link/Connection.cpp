#include "Connection.h"

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
