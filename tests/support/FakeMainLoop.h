#pragma once
#include "platform/MainLoop.h"

#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace bw::test {

// A main loop on virtual time: timers fire only when the test advances the time, and posted
// jobs run only when the test runs them. The thread that creates it is the main thread.
class FakeMainLoop final : public MainLoop {
public:
    void post(std::function<void()> job) override;
    bool isMainThread() const override { return std::this_thread::get_id() == mainThread_; }
    TimerId startTimer(Seconds delay, std::function<void()> job) override;
    void cancelTimer(TimerId id) override;
    void quit() override { ++quitCount; }

    // Moves the virtual time on, firing every timer that falls due, in order of due time.
    void advance(Seconds duration);
    // Runs the posted jobs, including those they post.
    void runPosted();

    double now() const { return now_; }
    int pendingTimers() const { return static_cast<int>(timers_.size()); }
    // Seconds from now until the earliest pending timer; negative when none is pending.
    double nextDueIn() const;
    int postedCount() const;

    int quitCount = 0;
    // Every timer started: when, and with which delay.
    struct Started {
        double at;
        double delay;
    };
    std::vector<Started> started;

private:
    struct Timer {
        double due;
        std::function<void()> job;
    };
    std::thread::id mainThread_ = std::this_thread::get_id();
    double now_ = 0.0;
    TimerId nextId_ = 1;
    std::map<TimerId, Timer> timers_;
    mutable std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
};

} // namespace bw::test
