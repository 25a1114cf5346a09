#include "platform/posix/SystemClock.h"

#include <thread>

namespace bw {

double secondsSinceReferenceDate(TimePoint t)
{
    // 1 January 2001 00:00:00 UTC is 978307200 seconds after the Unix epoch.
    constexpr double kReferenceDate = 978307200.0;
    return std::chrono::duration<double>(t.time_since_epoch()).count() - kReferenceDate;
}

namespace posix {

TimePoint SystemClock::now() const
{
    return std::chrono::system_clock::now();
}

void SystemClock::sleepFor(Seconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace posix
} // namespace bw
