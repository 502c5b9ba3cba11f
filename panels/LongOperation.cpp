#include "LongOperation.h"

#include "Clock.h"
#include "Link.h"

#include <QCoreApplication>

namespace {

void processQtEvents()
{
    QCoreApplication::processEvents();
}

PendingEventsRunner& currentRunner()
{
    static PendingEventsRunner runner = processQtEvents;
    return runner;
}

} // namespace

void runPendingEvents()
{
    if (currentRunner())
        currentRunner()();
}

PendingEventsRunner setPendingEventsRunner(PendingEventsRunner runner)
{
    PendingEventsRunner previous = currentRunner();
    currentRunner() = runner ? std::move(runner) : PendingEventsRunner(processQtEvents);
    return previous;
}

LongOperation::LongOperation(Connection& connection, QObject* owner)
    : m_connection(connection), m_busy(connection), m_owner(owner)
{
}

bool LongOperation::pause(int ms)
{
    // Timed to the microsecond, so that a pause never ends early.
    Clock& clock = m_connection.clock();
    const qint64 endUs = clock.nowUs() + qint64(ms) * 1000;
    for (;;) {
        runPendingEvents();
        if (m_owner.isNull())
            return false;
        const qint64 remainingUs = endUs - clock.nowUs();
        if (remainingUs <= 0)
            return true;
        m_connection.pauseUs(qMin<qint64>(remainingUs, kSliceMs * 1000));
    }
}

LongOperation::Outcome LongOperation::pollUntil(const QByteArray& command, const Polling& polling)
{
    for (int polls = 0; polling.maxPolls <= 0 || polls < polling.maxPolls; ++polls) {
        if (polling.beforePause)
            polling.beforePause(polls);
        if (!pause(polls == 0 && polling.firstPauseMs >= 0 ? polling.firstPauseMs : polling.pauseMs))
            return Outcome::PageGone;
        m_lastValue = QueryInt(m_connection, command);
        if (polling.finished ? polling.finished(m_lastValue) : m_lastValue == 0)
            return Outcome::Finished;
    }
    return Outcome::GaveUp;
}
