#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class Connection;

// The periodic re-reading of a page: a tick every two seconds while the page
// is shown. A tick that falls while an exchange or a long operation holds the
// connection is skipped, so a poll never cuts into another exchange.
class PollingTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 2000;

    PollingTimer(Connection& connection, std::function<void()> onTick, QObject* parent);

    // (Re)starts with a full period.
    void start();
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    int intervalMs() const { return m_timer.interval(); }
    int remainingMs() const { return m_timer.remainingTime(); }

    // What the timer does when it expires.
    void tick();

private:
    Connection& m_connection;
    std::function<void()> m_onTick;
    QTimer m_timer;
};
