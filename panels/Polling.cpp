#include "Polling.h"

#include "Connection.h"
#include "Controls.h"

#include <QEvent>
#include <QWidget>

PageTimer::PageTimer(Connection& connection, QWidget* page, std::function<void()> onTick, StopsWhen stopsWhen)
    : QObject(page), m_connection(connection), m_onTick(std::move(onTick)), m_stopsWhen(stopsWhen)
{
    // A coarse timer may fire a twentieth early; an interval is a full one.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PageTimer::tick);
    if (page)
        page->installEventFilter(this);
}

void PageTimer::start(int intervalMs)
{
    m_panelShownAtStart = windowShown(parent());
    m_timer.start(intervalMs);
}

void PageTimer::stop()
{
    m_timer.stop();
}

void PageTimer::tick()
{
    // A page whose tab was left gets no hide event when its panel closes
    // afterwards; its timer finds out here.
    if (m_stopsWhen == StopsWhen::PanelClosed && m_panelShownAtStart && !windowShown(parent())) {
        if (m_timer.isActive())
            stopWithPage();
        return;
    }
    if (m_connection.isBusy() || m_connection.inSequence())
        return;
    // A tick's reads are one load: a camera gone silent costs one time-out.
    Connection::LoadScope load(m_connection);
    m_onTick();
}

bool PageTimer::eventFilter(QObject* watched, QEvent* event)
{
    // A minimised window hides its pages spontaneously; they are still the
    // user's, so only a hide made by the program stops the timer.
    if (watched == parent() && event->type() == QEvent::Hide && !event->spontaneous() && m_timer.isActive()) {
        // The panel hides itself before its pages hear of it.
        if (m_stopsWhen == StopsWhen::PageHidden || !windowShown(parent()))
            stopWithPage();
    }
    return false;
}

void PageTimer::stopWithPage()
{
    m_timer.stop();
    emit stoppedWithPage();
}

PollingTimer::PollingTimer(Connection& connection, std::function<void()> onTick, QWidget* page)
    : PageTimer(connection, page, std::move(onTick))
{
}
