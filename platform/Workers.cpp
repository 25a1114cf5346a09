#include "platform/Workers.h"

#include <algorithm>
#include <vector>

namespace bw {

Workers::~Workers()
{
    requestQuit();
    waitForAll();
}

void Workers::start(std::function<void()> job)
{
    std::unique_lock lock(mutex_);
    reapFinished(lock);
    auto& worker = workers_.emplace_back();
    auto* slot = &worker;
    worker.thread = std::thread([this, slot, job = std::move(job)] {
        job();
        std::lock_guard done(mutex_);
        slot->finished = true;
        changed_.notify_all();
    });
}

void Workers::reapFinished(std::unique_lock<std::mutex>& lock)
{
    std::vector<std::thread> done;
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->finished) {
            done.push_back(std::move(it->thread));
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
    lock.unlock();
    for (auto& t : done)
        t.join();
    lock.lock();
}

void Workers::waitForAll()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        reapFinished(lock);
        if (workers_.empty())
            return;
        // A worker that ended while the others were being joined has notified already.
        const bool anyFinished =
            std::any_of(workers_.begin(), workers_.end(), [](const Worker& w) { return w.finished; });
        if (!anyFinished)
            changed_.wait(lock);
    }
}

int Workers::running() const
{
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const auto& w : workers_)
        count += w.finished ? 0 : 1;
    return count;
}

} // namespace bw
