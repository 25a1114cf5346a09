#include "history/HistoryRecorder.h"

#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Workers.h"

#include <algorithm>

namespace bw {

namespace {

// How often the writer looks at the queue, the workers' quitting and a stop.
constexpr std::chrono::milliseconds kWriterTick{100};

} // namespace

HistoryRecorder::HistoryRecorder(std::string path, Log& log, Clock& clock)
    : path_(std::move(path)), log_(log), clock_(clock)
{
}

HistoryRecorder::~HistoryRecorder()
{
    stop();
    flush();
}

void HistoryRecorder::start(Workers& workers)
{
    {
        std::lock_guard lock(queueMutex_);
        if (writerRunning_)
            return;
        writerRunning_ = true;
        stopRequested_ = false;
    }
    workers.start([this, &workers] { writerLoop(workers); });
}

void HistoryRecorder::stop()
{
    std::unique_lock lock(queueMutex_);
    stopRequested_ = true;
    queueChanged_.notify_all();
    queueChanged_.wait(lock, [this] { return !writerRunning_; });
}

void HistoryRecorder::itemDeleted(const DeletionEvent& event)
{
    std::lock_guard lock(queueMutex_);
    if (waiting_.size() >= kMaximumWaiting) {
        ++dropped_;
        return;
    }
    waiting_.push_back(event);
    if (waiting_.size() == kBatchRows)
        queueChanged_.notify_all();
}

void HistoryRecorder::writerLoop(Workers& workers)
{
    using Steady = std::chrono::steady_clock;
    std::unique_lock lock(queueMutex_);
    std::optional<Steady::time_point> firstWaiting;
    // The log is copied into the database once the writer has been idle for a while: never
    // during a pass, whose deleting thread shares the processor with the writer.
    std::optional<Steady::time_point> lastCommit;
    for (;;) {
        queueChanged_.wait_for(lock, kWriterTick, [this] { return stopRequested_ || waiting_.size() >= kBatchRows; });
        const bool ending = stopRequested_ || workers.quitting();
        if (waiting_.empty())
            firstWaiting.reset();
        else if (!firstWaiting)
            firstWaiting = Steady::now();
        if (firstWaiting &&
            (ending || waiting_.size() >= kBatchRows || Steady::now() - *firstWaiting >= kBatchWait)) {
            firstWaiting.reset();
            lock.unlock();
            if (commitWaiting())
                lastCommit = Steady::now();
            lock.lock();
        } else if (lastCommit && !firstWaiting && Steady::now() - *lastCommit >= kBatchWait) {
            lastCommit.reset();
            lock.unlock();
            checkpoint();
            lock.lock();
        }
        if (ending)
            break;
    }
    writerRunning_ = false;
    queueChanged_.notify_all();
}

void HistoryRecorder::flush()
{
    commitWaiting();
}

void HistoryRecorder::checkpoint()
{
    std::lock_guard storeLock(storeMutex_);
    store_.checkpoint();
}

bool HistoryRecorder::commitWaiting()
{
    // The store's lock first: batches are committed in the order they were taken.
    std::lock_guard storeLock(storeMutex_);
    std::vector<DeletionEvent> batch;
    size_t dropped = 0;
    {
        std::lock_guard lock(queueMutex_);
        batch.swap(waiting_);
        // A pass keeps the queue busy: room for the next batch spares the deleting thread
        // the vector's growth.
        waiting_.reserve(std::min(batch.size(), kBatchRows));
        std::swap(dropped, dropped_);
    }
    if (dropped > 0)
        log_.line(strprintf("%zu deletions were not recorded in the history: its writer could not keep up", dropped));
    if (batch.empty() || !ensureOpen())
        return false;
    HistoryStore::Outcome outcome = store_.append(batch, clock_.now());
    if (outcome == HistoryStore::Outcome::Unusable) {
        setAsideAndReopen(store_.error());
        if (store_.isOpen())
            outcome = store_.append(batch, clock_.now());
    }
    if (outcome == HistoryStore::Outcome::Written) {
        committed_.fetch_add(batch.size());
        failing_ = false;
        return true;
    }
    // A full disk fails every batch of a pass: the first failure is logged, not each.
    if (!disabled_ && !failing_)
        log_.line(strprintf("Deletions are not recorded in the history (%s)", store_.error().c_str()));
    failing_ = true;
    return false;
}

bool HistoryRecorder::ensureOpen()
{
    if (disabled_)
        return false;
    if (store_.isOpen())
        return true;
    const HistoryStore::Outcome outcome = store_.openForWriting(path_);
    if (outcome == HistoryStore::Outcome::Unusable) {
        setAsideAndReopen(store_.error());
    } else if (outcome == HistoryStore::Outcome::Failed) {
        log_.line(strprintf("No history of deletions is recorded: %s (%s)", store_.error().c_str(), path_.c_str()));
        store_.close();
        disabled_ = true;
    }
    return store_.isOpen();
}

void HistoryRecorder::setAsideAndReopen(const std::string& why)
{
    store_.close();
    const auto moved = HistoryStore::setAside(path_, clock_.now());
    if (moved && store_.openForWriting(path_) == HistoryStore::Outcome::Written) {
        log_.line(strprintf("The history of deletions was unusable (%s); it was set aside as %s and a new one is kept",
                            why.c_str(), moved->c_str()));
        return;
    }
    log_.line(strprintf("The history of deletions is unusable (%s) and %s; no history is recorded", why.c_str(),
                        moved ? "a new one cannot be made" : "cannot be set aside"));
    store_.close();
    disabled_ = true;
}

} // namespace bw
