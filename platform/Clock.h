#pragma once
#include <chrono>

namespace bw {

using TimePoint = std::chrono::system_clock::time_point;
using Seconds = std::chrono::duration<double>;

// Wall-clock time and sleeping, so that the one-second polls and pauses of the workers
// can run on virtual time in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleepFor(Seconds duration) = 0;
};

// Seconds since 1 January 2001 00:00:00 UTC, the epoch of the time-stamp names.
double secondsSinceReferenceDate(TimePoint t);

} // namespace bw
