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
    std::unique_lock lock(shared_->mutex);
    reapFinished(lock);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto& worker = workers_.emplace_back();
    worker.finished = finished;
    worker.thread = std::thread([shared = shared_, finished, job = std::move(job)]() mutable {
        job();
        job = {}; // what the job held goes before its end is told
        std::lock_guard done(shared->mutex);
        finished->store(true);
        shared->changed.notify_all();
    });
}

void Workers::reapFinished(std::unique_lock<std::mutex>& lock)
{
    std::vector<std::thread> done;
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->finished->load()) {
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

bool Workers::anyFinished() const
{
    return std::any_of(workers_.begin(), workers_.end(), [](const Worker& w) { return w.finished->load(); });
}

void Workers::waitForAll()
{
    std::unique_lock lock(shared_->mutex);
    for (;;) {
        reapFinished(lock);
        if (workers_.empty())
            return;
        // A worker that ended while the others were being joined has notified already.
        if (!anyFinished())
            shared_->changed.wait(lock);
    }
}

bool Workers::waitForAll(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(shared_->mutex);
    for (;;) {
        reapFinished(lock);
        if (workers_.empty())
            return true;
        if (!anyFinished() && shared_->changed.wait_until(lock, deadline) == std::cv_status::timeout)
            break;
    }
    reapFinished(lock);
    for (auto& worker : workers_)
        worker.thread.detach();
    workers_.clear();
    return false;
}

int Workers::running() const
{
    std::lock_guard lock(shared_->mutex);
    int count = 0;
    for (const auto& w : workers_)
        count += w.finished->load() ? 0 : 1;
    return count;
}

} // namespace bw
