#include "Polling.h"

#include "Connection.h"

PollingTimer::PollingTimer(Connection& connection, std::function<void()> onTick, QObject* parent)
    : QObject(parent), m_connection(connection), m_onTick(std::move(onTick))
{
    m_timer.setInterval(kPeriodMs);
    // A coarse timer may fire a twentieth early; the period is a full two seconds.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PollingTimer::tick);
}

void PollingTimer::start()
{
    m_timer.start();
}

void PollingTimer::stop()
{
    m_timer.stop();
}

void PollingTimer::tick()
{
    if (m_connection.isBusy())
        return;
    // A tick's reads are one load: a camera gone silent costs one time-out.
    Connection::LoadScope load(m_connection);
    m_onTick();
}
