#include "ScriptedPort.h"

#include <cmath>

void ScriptedPort::sendAt(qint64 atUs, const QByteArray& bytes)
{
    m_timetable.emplace(atUs, bytes);
}

void ScriptedPort::sendAfterMs(double delayMs, const QByteArray& bytes)
{
    sendAt(m_clock.nowUs() + static_cast<qint64>(std::llround(delayMs * 1000.0)), bytes);
}

QByteArrayList ScriptedPort::receivedLines() const
{
    QByteArrayList lines = received.split('\r');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool ScriptedPort::setLineSettings(qint32 baudRate)
{
    rates.append(baudRate);
    return true;
}

void ScriptedPort::releaseDue()
{
    const qint64 now = m_clock.nowUs();
    while (!m_timetable.empty() && m_timetable.begin()->first <= now) {
        m_readable += m_timetable.begin()->second;
        m_timetable.erase(m_timetable.begin());
    }
}

qint64 ScriptedPort::bytesWaiting()
{
    ++waitingQueries;
    if (hungUp)
        return -1;
    releaseDue();
    return m_readable.size();
}

QByteArray ScriptedPort::read(qint64 maxBytes)
{
    releaseDue();
    const QByteArray bytes = m_readable.left(maxBytes);
    m_readable.remove(0, bytes.size());
    return bytes;
}

qint64 ScriptedPort::write(const QByteArray& bytes)
{
    received += bytes;
    m_partialLine += bytes;
    qsizetype end;
    while ((end = m_partialLine.indexOf('\r')) >= 0) {
        const QByteArray line = m_partialLine.left(end);
        m_partialLine.remove(0, end + 1);
        if (responder) {
            const QByteArray reply = responder(line);
            if (!reply.isEmpty())
                sendAfterMs(replyDelayMs, reply);
        }
    }
    return bytes.size();
}

bool ScriptedPort::waitReadable(int timeoutMs)
{
    ++waits;
    if (hungUp)
        return false;
    releaseDue();
    if (!m_readable.isEmpty())
        return true;
    const qint64 deadline = m_clock.nowUs() + qint64(timeoutMs) * 1000;
    if (!m_timetable.empty() && m_timetable.begin()->first <= deadline) {
        m_clock.sleepUs(m_timetable.begin()->first - m_clock.nowUs());
        releaseDue();
        return true;
    }
    m_clock.sleepUs(deadline - m_clock.nowUs());
    return false;
}
