#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class Connection;
class QWidget;

// A timer of a page's own, such as the Brevo shading demonstration's cycle:
// it ticks at the interval it was started with, and skips a tick that falls
// while an exchange or a long operation holds the connection, so a tick never
// cuts into another exchange. It dies with the page. A page's periodic
// reads stop when the page is hidden by the program (its tab left, its panel
// closed; not a window minimised); a cycle the user started, such as the
// demonstration, goes on while another tab is shown and stops when the
// panel is closed, at the latest at its next tick. Either way it never sends
// for a panel that is closed or a page that is gone.
class PageTimer : public QObject {
    Q_OBJECT
public:
    enum class StopsWhen { PageHidden, PanelClosed };

    // page: the timer's parent; may be null for a timer that no page owns.
    PageTimer(Connection& connection, QWidget* page, std::function<void()> onTick,
              StopsWhen stopsWhen = StopsWhen::PageHidden);

    // (Re)starts with a full interval.
    void start(int intervalMs);
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    int intervalMs() const { return m_timer.interval(); }
    int remainingMs() const { return m_timer.remainingTime(); }

    // What the timer does when it expires.
    void tick();

signals:
    // The page was hidden (or its panel closed) while the timer ran, and the
    // timer has stopped.
    void stoppedWithPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopWithPage();

    Connection& m_connection;
    std::function<void()> m_onTick;
    StopsWhen m_stopsWhen;
    bool m_panelShownAtStart = false;
    QTimer m_timer;
};

// The periodic re-reading of a page: a tick every two seconds while the page
// is shown (the page starts it when it is shown).
class PollingTimer : public PageTimer {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 2000;

    PollingTimer(Connection& connection, std::function<void()> onTick, QWidget* page);

    // (Re)starts with a full period.
    void start() { PageTimer::start(kPeriodMs); }
};
