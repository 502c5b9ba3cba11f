#include "WindowPlacement.h"

#include "ScreenPlacement.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

QPoint placeBesideMainWindow(const QRect& mainFrame, int panelWidth, int screenRight)
{
    const int mainRight = mainFrame.x() + mainFrame.width();
    const int x = mainRight + panelWidth + 10 > screenRight ? screenRight - panelWidth : mainRight + 10;
    return {x, mainFrame.y()};
}

QRect titleBarOf(const QRect& frame, const QMargins& margins)
{
    return {frame.x(), frame.y(), frame.width(), margins.top()};
}

QRect placedClearOf(const QRect& wanted, const QRect& area, const QList<QRect>& keepInSight)
{
    QRect frame = fittedIntoArea(wanted, area);
    // Each pass moves the frame down below what it covers; it only moves
    // down, so every rectangle is passed at most once.
    for (qsizetype pass = 0; pass < keepInSight.size(); ++pass) {
        int below = frame.top();
        for (const QRect& kept : keepInSight) {
            if (!kept.isEmpty() && frame.intersects(kept))
                below = std::max(below, kept.bottom() + 1);
        }
        if (below == frame.top())
            break;
        const QRect moved(frame.x(), below, wanted.width(), wanted.height());
        frame = area.isEmpty() ? moved : fittedIntoArea(moved, area, below - area.top());
    }
    return frame;
}

QRect frameInCorner(QSize frameSize, const QRect& area, AreaCorner corner)
{
    const int x = corner == AreaCorner::BottomLeft ? area.left() : area.left() + area.width() - frameSize.width();
    return fittedIntoArea(QRect(QPoint(x, area.top() + area.height() - frameSize.height()), frameSize), area);
}

QMargins frameMarginsOf(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

FrameWatcher::FrameWatcher(std::function<void(QWidget*)> onFramed, QObject* parent)
    : QObject(parent), m_onFramed(std::move(onFramed))
{
}

void FrameWatcher::watch(QWidget* window)
{
    if (m_framed.contains(window))
        return;
    m_framed.insert(window, false);
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) { m_framed.remove(gone); });
}

QMargins FrameWatcher::expectedMargins(const QWidget* window) const
{
    const QMargins own = frameMarginsOf(window);
    return own.isNull() ? m_knownMargins : own;
}

QRect FrameWatcher::expectedFrame(const QWidget* window) const
{
    return window->geometry().marginsAdded(expectedMargins(window));
}

void FrameWatcher::setFrame(QWidget* window, const QRect& frame) const
{
    window->setGeometry(frame.marginsRemoved(expectedMargins(window)));
}

bool FrameWatcher::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::UpdateRequest:
    case QEvent::WindowActivate: {
        auto framed = m_framed.find(watched);
        if (framed == m_framed.end() || *framed)
            break;
        auto* window = static_cast<QWidget*>(watched);
        const QMargins margins = frameMarginsOf(window);
        if (margins.isNull() || !window->isVisible())
            break;
        *framed = true;
        m_knownMargins = margins;
        m_onFramed(window);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
