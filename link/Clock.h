#pragma once

#include <QtGlobal>

// Time as the link sees it. The application runs on the monotonic system
// clock; tests run on VirtualClock, where sleeping only moves the reading on,
// so a 27-second detection takes milliseconds.
class Clock {
public:
    virtual ~Clock() = default;

    virtual qint64 nowUs() = 0;
    virtual void sleepUs(qint64 us) = 0;

    qint64 nowMs() { return nowUs() / 1000; }
    // Whole seconds: time-outs compare differences of these readings, so a
    // time-out of 1.0 s lasts between one and two seconds.
    qint64 wholeSeconds() { return nowUs() / 1000000; }
    void sleepMs(qint64 ms) { sleepUs(ms * 1000); }
};

class SteadyClock : public Clock {
public:
    qint64 nowUs() override;
    void sleepUs(qint64 us) override;

    // The one clock of the application.
    static SteadyClock& instance();
};

class VirtualClock : public Clock {
public:
    qint64 nowUs() override { return m_nowUs; }
    void sleepUs(qint64 us) override
    {
        if (us > 0)
            m_nowUs += us;
    }
    void advanceTo(qint64 us)
    {
        if (us > m_nowUs)
            m_nowUs = us;
    }

private:
    // Starts away from zero so that whole-second boundaries are not aligned
    // with the start of a test by accident.
    qint64 m_nowUs = 1000000000LL + 123457;
};
