#pragma once
#include <cstdint>
#include <functional>

#include "platform/Clock.h"

namespace bw {

// The main thread's event loop: the place where timers fire, notifications arrive and the
// tray is drawn. Workers hand interface updates to it with post().
class MainLoop {
public:
    using TimerId = std::uint64_t;
    static constexpr TimerId kNoTimer = 0;

    virtual ~MainLoop() = default;

    // Runs `job` on the main thread after what is already queued; safe from any thread.
    virtual void post(std::function<void()> job) = 0;
    virtual bool isMainThread() const = 0;

    // A single-shot timer on the main thread. Main thread only; never returns kNoTimer.
    virtual TimerId startTimer(Seconds delay, std::function<void()> job) = 0;
    // Cancelling a timer that fired or was cancelled already does nothing.
    virtual void cancelTimer(TimerId id) = 0;

    // Ends the event loop; the program then tears down (Manager::applicationWillTerminate).
    virtual void quit() = 0;
};

} // namespace bw
