#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace bw {

// The one place that starts worker threads (measurements, passes, deletions, flashing,
// panel refresh). It knows every thread it started, so quitting and tests can wait for
// them. A finished worker's thread is joined the next time a worker starts.
class Workers {
public:
    Workers() = default;
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    ~Workers();

    void start(std::function<void()> job);

    // Blocks until every started worker, including those started meanwhile, has ended.
    void waitForAll();

    // Asks long-running loops to end; they test quitting() between their steps.
    void requestQuit() { quitting_.store(true); }
    bool quitting() const { return quitting_.load(); }

    int running() const;

private:
    struct Worker {
        std::thread thread;
        bool finished = false;
    };
    void reapFinished(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Worker> workers_;
    std::atomic<bool> quitting_{false};
};

} // namespace bw
