#include "Clock.h"

#include <chrono>
#include <thread>

qint64 SteadyClock::nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepUs(qint64 us)
{
    if (us > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}

SteadyClock& SteadyClock::instance()
{
    static SteadyClock clock;
    return clock;
}
