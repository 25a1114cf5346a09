#include "tests/support/FakeMainLoop.h"

#include <algorithm>

namespace bw::test {

void FakeMainLoop::post(std::function<void()> job)
{
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(job));
}

MainLoop::TimerId FakeMainLoop::startTimer(Seconds delay, std::function<void()> job)
{
    const TimerId id = nextId_++;
    started.push_back({now_, delay.count()});
    timers_[id] = Timer{now_ + delay.count(), std::move(job)};
    return id;
}

void FakeMainLoop::cancelTimer(TimerId id)
{
    timers_.erase(id);
}

void FakeMainLoop::advance(Seconds duration)
{
    const double end = now_ + duration.count();
    for (;;) {
        auto earliest = std::min_element(timers_.begin(), timers_.end(),
                                         [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
        if (earliest == timers_.end() || earliest->second.due > end)
            break;
        now_ = earliest->second.due;
        auto job = std::move(earliest->second.job);
        timers_.erase(earliest);
        job();
    }
    now_ = end;
}

void FakeMainLoop::runPosted()
{
    for (;;) {
        std::vector<std::function<void()>> jobs;
        {
            std::lock_guard lock(postedMutex_);
            jobs.swap(posted_);
        }
        if (jobs.empty())
            return;
        for (auto& job : jobs)
            job();
    }
}

double FakeMainLoop::nextDueIn() const
{
    double due = -1.0;
    for (const auto& [id, timer] : timers_)
        if (due < 0.0 || timer.due - now_ < due)
            due = timer.due - now_;
    return due;
}

int FakeMainLoop::postedCount() const
{
    std::lock_guard lock(postedMutex_);
    return static_cast<int>(posted_.size());
}

} // namespace bw::test
