#pragma once
#include "deletion/DeletionEvent.h"
#include "history/HistoryStore.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace bw {

class Clock;
class Log;
class Workers;

// Records every deletion in the history database. The deleting thread only queues the
// event; a writer of its own commits the queue in batches (when enough rows wait, after a
// short while, and at the end), so a pass of tens of thousands of items pays for a copy of
// its bytes and a lock per item. A database that is damaged or locked is set aside with one log line and a
// fresh one takes the rows; whatever happens to the history, deletion goes on.
class HistoryRecorder final : public DeletionListener {
public:
    // Rows that wait before the writer commits at once, and the longest a row waits.
    static constexpr size_t kBatchRows = 5000;
    static constexpr std::chrono::milliseconds kBatchWait{500};
    // Beyond this many waiting rows (a writer that cannot keep up) new events are dropped.
    static constexpr size_t kMaximumWaiting = 200000;
    // The room each of the two waiting buffers starts with: a batch of events of usual paths.
    static constexpr size_t kBufferBytes = 1 << 20;

    HistoryRecorder(std::string path, Log& log, Clock& clock);
    // Commits what waits; the writer must have ended or be about to (see stop()).
    ~HistoryRecorder() override;
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // Starts the writer through `workers`; it ends at stop(), or within a second when the
    // workers quit.
    void start(Workers& workers);
    // Ends the writer after it committed what waits; what comes later is committed by the
    // next flush() or at destruction.
    void stop();

    // On the deleting thread: queues the event, never waits for the database.
    void itemDeleted(const DeletionEvent& event) override;

    // Commits every event queued before the call, on the calling thread.
    void flush();

    // Rows committed since the start.
    std::uint64_t committedRows() const { return committed_.load(); }
    const std::string& path() const { return path_; }

private:
    void writerLoop(Workers& workers);
    // Takes what waits and commits it; the store is touched under storeMutex_ alone.
    // True when something was committed.
    bool commitWaiting();
    void checkpoint();
    bool ensureOpen();
    void setAsideAndReopen(const std::string& why);

    const std::string path_;
    Log& log_;
    Clock& clock_;

    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::string waiting_; // the events, one after the other, as bytes
    size_t waitingCount_ = 0;
    bool stopRequested_ = false;
    bool writerRunning_ = false;
    size_t dropped_ = 0;

    std::mutex storeMutex_;
    std::string spare_; // a waiting buffer between two batches, kept for its room
    HistoryStore store_;
    // Given up after a fresh database failed too; one line said so.
    bool disabled_ = false;
    // The last batch could not be written; said once until a batch is written again.
    bool failing_ = false;
    std::atomic<std::uint64_t> committed_{0};
};

} // namespace bw
