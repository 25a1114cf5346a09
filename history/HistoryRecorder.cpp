#include "history/HistoryRecorder.h"

#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Workers.h"

#include <algorithm>
#include <cstring>

namespace bw {

namespace {

// How often the writer looks at the queue and the workers' quitting while events wait or the
// log is to be copied; idle, it wakes for the first event, a stop, or now and then for quitting.
constexpr std::chrono::milliseconds kWriterTick{100};
constexpr std::chrono::milliseconds kIdleTick{1000};

// Waiting events are kept as bytes in one buffer, not as objects: the deleting thread then
// makes no allocation per event, and the writer frees none that another thread made.
template <typename T>
void putValue(std::string& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& out, const std::string& text)
{
    putValue(out, text.size());
    out.append(text);
}

void putEvent(std::string& out, const DeletionEvent& event)
{
    putValue(out, event.when.time_since_epoch().count());
    putText(out, event.trash);
    putText(out, event.volumePath);
    putText(out, event.path);
    putText(out, event.originalLocation);
    putValue(out, event.bytes);
    putValue(out, event.trashedOn.has_value());
    putValue(out, event.trashedOn.value_or(TimePoint{}).time_since_epoch().count());
    putValue(out, event.reason);
    putValue(out, event.deleted);
    putText(out, event.failure);
}

class EventReader {
public:
    explicit EventReader(const std::string& in) : in_(in) {}
    bool atEnd() const { return at_ >= in_.size(); }

    DeletionEvent next()
    {
        DeletionEvent event;
        event.when = TimePoint(TimePoint::duration(value<TimePoint::rep>()));
        event.trash = text();
        event.volumePath = text();
        event.path = text();
        event.originalLocation = text();
        event.bytes = value<double>();
        const bool trashedKnown = value<bool>();
        const TimePoint trashedOn(TimePoint::duration(value<TimePoint::rep>()));
        if (trashedKnown)
            event.trashedOn = trashedOn;
        event.reason = value<DeletionReason>();
        event.deleted = value<bool>();
        event.failure = text();
        return event;
    }

private:
    template <typename T>
    T value()
    {
        T v{};
        std::memcpy(&v, in_.data() + at_, sizeof v);
        at_ += sizeof v;
        return v;
    }
    std::string text()
    {
        const auto size = value<std::string::size_type>();
        std::string t = in_.substr(at_, size);
        at_ += size;
        return t;
    }

    const std::string& in_;
    size_t at_ = 0;
};

} // namespace

HistoryRecorder::HistoryRecorder(std::string path, Log& log, Clock& clock)
    : path_(std::move(path)), log_(log), clock_(clock)
{
    // Room for a batch in each buffer: the two take turns for the life of the program, so a
    // pass's events land in memory already there rather than in new pages at every batch.
    waiting_.reserve(kBufferBytes);
    spare_.reserve(kBufferBytes);
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
    if (waitingCount_ >= kMaximumWaiting) {
        ++dropped_;
        return;
    }
    putEvent(waiting_, event);
    if (++waitingCount_ == 1 || waitingCount_ == kBatchRows)
        queueChanged_.notify_all();
}

void HistoryRecorder::writerLoop(Workers& workers)
{
    using Steady = std::chrono::steady_clock;
    std::unique_lock lock(queueMutex_);
    // Since when events wait; the epoch while none does.
    Steady::time_point firstWaiting{};
    // The log is copied into the database once the writer has been idle for a while: never
    // during a pass, whose deleting thread shares the processor with the writer.
    bool checkpointDue = false;
    Steady::time_point lastCommit{};
    for (;;) {
        const bool busy = waitingCount_ > 0 || checkpointDue;
        queueChanged_.wait_for(lock, busy ? kWriterTick : kIdleTick, [this, busy] {
            return stopRequested_ || waitingCount_ >= kBatchRows || (!busy && waitingCount_ > 0);
        });
        const bool ending = stopRequested_ || workers.quitting();
        const Steady::time_point now = Steady::now();
        if (waitingCount_ == 0)
            firstWaiting = {};
        else if (firstWaiting == Steady::time_point{})
            firstWaiting = now;
        const bool waiting = firstWaiting != Steady::time_point{};
        if (waiting && (ending || waitingCount_ >= kBatchRows || now - firstWaiting >= kBatchWait)) {
            firstWaiting = {};
            lock.unlock();
            if (commitWaiting()) {
                checkpointDue = true;
                lastCommit = Steady::now();
            }
            lock.lock();
        } else if (checkpointDue && !waiting && now - lastCommit >= kBatchWait) {
            checkpointDue = false;
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
    std::string waiting;
    size_t dropped = 0;
    {
        std::lock_guard lock(queueMutex_);
        waiting.swap(waiting_);
        // The buffer of the batch before, emptied, takes the next events without growing.
        waiting_.swap(spare_);
        waitingCount_ = 0;
        std::swap(dropped, dropped_);
    }
    std::vector<DeletionEvent> batch;
    for (EventReader reader(waiting); !reader.atEnd();)
        batch.push_back(reader.next());
    waiting.clear();
    spare_ = std::move(waiting);
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
