#pragma once
#include "deletion/DeletionEvent.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace bw {

// One recorded deletion as the history keeps it. The reason is the stored word, so that a
// word this build does not know still reads.
struct HistoryRow {
    std::int64_t id = 0;
    TimePoint when{};
    std::string trash;
    std::string volumePath;
    std::string path;
    std::string originalLocation;
    double bytes = 0.0;
    std::optional<TimePoint> trashedOn;
    std::string reason;
    bool deleted = false;
    std::string failure;
};

// The history database: one SQLite connection, used by one thread at a time.
class HistoryStore {
public:
    // How a write came out. Unusable: the database is damaged, locked by another, or of a
    // shape this build does not know; setting it aside is the remedy.
    enum class Outcome { Written, Unusable, Failed };

    // What is kept: deletions of the last year, and at most this many rows.
    static constexpr std::int64_t kMaximumRows = 100000;
    static constexpr std::chrono::hours kKeptFor{24 * 365};

    HistoryStore() = default;
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // `$XDG_STATE_HOME/brindlewick/history.sqlite3`; `stateHome` unset, empty or relative
    // means `~/.local/state`.
    static std::string defaultPath(const std::string& homeDirectory, const char* stateHome);

    // Opens the database for writing, creating its folder (0700) and its table when missing.
    Outcome openForWriting(const std::string& path);
    // Opens an existing database to read; false (with error()) when it cannot be read.
    bool openForReading(const std::string& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // The events in one transaction, then what is older than a year before `now` or beyond
    // the row limit goes. Nothing of the batch is kept unless all of it is. The log is not
    // copied into the database here unless it grew long: see checkpoint().
    Outcome append(const std::vector<DeletionEvent>& events, TimePoint now);

    // Copies the log into the database and empties it: a while after the last batch.
    void checkpoint();

    // Rows deleted at or after `since`, newest first (in the order they were recorded).
    std::vector<HistoryRow> rows(std::optional<TimePoint> since = std::nullopt);

    // The last error, for the log.
    const std::string& error() const { return error_; }

    // Renames the database and its companions (-wal, -shm) to `<path>.<local time stamp>`, a name no
    // other file has; the new name, or none when the database could not be moved away.
    static std::optional<std::string> setAside(const std::string& path, TimePoint now);

private:
    Outcome fail(int code, const char* doing);
    bool execute(const char* sql);
    bool prepare();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* pruneOld_ = nullptr;
    sqlite3_stmt* pruneMany_ = nullptr;
    std::string error_;
};

} // namespace bw
