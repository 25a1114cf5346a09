#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
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
    // As waitForAll, for at most `limit`. A worker still running then (in the kernel on a
    // volume that does not answer, say) is left behind: its thread is detached and no
    // longer waited for. True when every worker ended.
    bool waitForAll(std::chrono::milliseconds limit);
    // How long quitting waits for the workers: the program ends within 2 s whatever a
    // volume does.
    static constexpr std::chrono::milliseconds kQuitWait{1000};

    // Asks long-running loops to end; they test quitting() between their steps.
    void requestQuit() { quitting_.store(true); }
    bool quitting() const { return quitting_.load(); }

    int running() const;

private:
    // What a worker's thread reaches when it ends; shared with the thread, so that a thread
    // left behind at quit never reaches freed memory.
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
    };
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };
    void reapFinished(std::unique_lock<std::mutex>& lock);
    bool anyFinished() const;

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::list<Worker> workers_; // guarded by shared_->mutex
    std::atomic<bool> quitting_{false};
};

} // namespace bw
