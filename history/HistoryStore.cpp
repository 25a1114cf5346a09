#include "history/HistoryStore.h"

#include "platform/Format.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace bw {

namespace {

// The shape of the table; a database of another version is set aside, not migrated.
constexpr int kSchemaVersion = 1;
// How long a write waits for another connection's lock before the database counts as locked.
constexpr int kBusyMilliseconds = 2000;

constexpr const char* kCreate = "CREATE TABLE IF NOT EXISTS deletions ("
                                " id INTEGER PRIMARY KEY,"
                                " at INTEGER NOT NULL,"           // milliseconds since 1970, UTC
                                " trash TEXT NOT NULL,"
                                " volume TEXT NOT NULL,"          // empty: the home trash
                                " path TEXT NOT NULL,"
                                " original TEXT NOT NULL,"
                                " bytes INTEGER NOT NULL,"
                                " trashed INTEGER,"               // milliseconds, or unknown
                                " reason TEXT NOT NULL,"
                                " deleted INTEGER NOT NULL,"
                                " failure TEXT NOT NULL);";
// Rows are added in the order of the deletions, so the ids follow the times: no index on the
// time is needed (each would cost every insert), old rows are those below the first young id.
// A WAL this many pages long is copied into the database even while rows keep coming; below
// it, that waits until the writer is idle, after the pass.
constexpr int kLongestLog = 16384;

std::int64_t millisecondsOf(TimePoint t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

TimePoint timeOfMilliseconds(std::int64_t ms)
{
    return TimePoint(std::chrono::duration_cast<TimePoint::duration>(std::chrono::milliseconds(ms)));
}

std::int64_t wholeBytes(double bytes)
{
    return std::isfinite(bytes) && bytes > 0.0 ? static_cast<std::int64_t>(std::llround(bytes)) : 0;
}

// Paths are bytes as the kernel gives them: bound and read back as they are. Not copied:
// the batch outlives the row's step, and the bindings are cleared after the batch.
void bindText(sqlite3_stmt* statement, int index, const std::string& text)
{
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

std::string columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

// Damage, a lock held by another, or a table of another shape: a fresh database helps.
bool isUnusable(int code)
{
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR: // a missing or differently shaped table
        return true;
    default:
        return false;
    }
}

// Every missing folder of `folder`, each made 0700: the history tells what the user had.
bool makePrivateFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

class Finalizer {
public:
    explicit Finalizer(sqlite3_stmt*& statement) : statement_(statement) {}
    ~Finalizer()
    {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }

private:
    sqlite3_stmt*& statement_;
};

} // namespace

HistoryStore::~HistoryStore()
{
    close();
}

std::string HistoryStore::defaultPath(const std::string& homeDirectory, const char* stateHome)
{
    const std::string folder =
        stateHome && stateHome[0] == '/' ? std::string(stateHome) : homeDirectory + "/.local/state";
    return folder + "/brindlewick/history.sqlite3";
}

void HistoryStore::close()
{
    for (auto* statement : {&insert_, &pruneOld_, &pruneMany_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close(db_);
    db_ = nullptr;
}

HistoryStore::Outcome HistoryStore::fail(int code, const char* doing)
{
    error_ = strprintf("%s: %s", doing, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code));
    return isUnusable(code) ? Outcome::Unusable : Outcome::Failed;
}

bool HistoryStore::execute(const char* sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

HistoryStore::Outcome HistoryStore::openForWriting(const std::string& path)
{
    close();
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makePrivateFolders(path.substr(0, slash))) {
        error_ = strprintf("cannot make the history's folder: %s", std::strerror(errno));
        return Outcome::Failed;
    }
    int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                               nullptr);
    if (code != SQLITE_OK) {
        const Outcome outcome = fail(code, "cannot open the history");
        close();
        return outcome;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyMilliseconds);
    // The database is only ever the user's.
    chmod(path.c_str(), 0600);

    // WAL: a commit is one append, readers never wait for the writer, and a killed process
    // leaves every committed transaction in the log for the next opening. NORMAL needs no
    // flush to disk at each commit; only a power cut can cost the last ones.
    sqlite3_stmt* statement = nullptr;
    code = sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &statement, nullptr);
    if (code == SQLITE_OK) {
        Finalizer done(statement);
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW && columnText(statement, 0) != "wal")
            code = SQLITE_NOTADB;
        else if (code == SQLITE_ROW)
            code = SQLITE_OK;
    }
    if (code != SQLITE_OK)
        return fail(code, "cannot read the history");

    int version = 0;
    code = sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &statement, nullptr);
    if (code == SQLITE_OK) {
        Finalizer done(statement);
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW)
            code = columnText(statement, 0) == "ok" ? SQLITE_OK : SQLITE_CORRUPT;
    }
    if (code == SQLITE_OK)
        code = sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &statement, nullptr);
    if (code == SQLITE_OK) {
        Finalizer done(statement);
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            version = sqlite3_column_int(statement, 0);
            code = SQLITE_OK;
        }
    }
    if (code != SQLITE_OK)
        return fail(code, "the history is damaged");
    if (version != 0 && version != kSchemaVersion) {
        error_ = strprintf("the history is of another version (%d)", version);
        return Outcome::Unusable;
    }
    // A new database gets its table; an existing one is left as it is, without a write.
    if (!execute("PRAGMA synchronous=NORMAL") ||
        !execute(strprintf("PRAGMA wal_autocheckpoint=%d", kLongestLog).c_str()) ||
        (version == 0 && (!execute(kCreate) || !execute(strprintf("PRAGMA user_version=%d", kSchemaVersion).c_str()))))
        return fail(sqlite3_errcode(db_), "cannot set up the history");
    return prepare() ? Outcome::Written : fail(sqlite3_errcode(db_), "the history's table is of another shape");
}

bool HistoryStore::prepare()
{
    return sqlite3_prepare_v2(db_,
                              "INSERT INTO deletions (at, trash, volume, path, original, bytes, trashed, reason,"
                              " deleted, failure) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                              -1, &insert_, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v2(db_,
                              "DELETE FROM deletions WHERE id < coalesce((SELECT id FROM deletions WHERE at >= ?"
                              " ORDER BY id LIMIT 1), (SELECT max(id) FROM deletions) + 1)",
                              -1, &pruneOld_, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v2(db_, "DELETE FROM deletions WHERE id <= (SELECT max(id) FROM deletions) - ?", -1,
                              &pruneMany_, nullptr) == SQLITE_OK;
}

bool HistoryStore::openForReading(const std::string& path)
{
    close();
    const int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        fail(code, "cannot open the history");
        close();
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyMilliseconds);
    return true;
}

HistoryStore::Outcome HistoryStore::append(const std::vector<DeletionEvent>& events, TimePoint now)
{
    if (!db_ || !insert_) {
        error_ = "the history is not open";
        return Outcome::Failed;
    }
    int code = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        return fail(code, "cannot write the history");
    for (const auto& event : events) {
        sqlite3_reset(insert_);
        sqlite3_bind_int64(insert_, 1, millisecondsOf(event.when));
        bindText(insert_, 2, event.trash);
        bindText(insert_, 3, event.volumePath);
        bindText(insert_, 4, event.path);
        bindText(insert_, 5, event.originalLocation.empty() ? event.path : event.originalLocation);
        sqlite3_bind_int64(insert_, 6, wholeBytes(event.bytes));
        if (event.trashedOn)
            sqlite3_bind_int64(insert_, 7, millisecondsOf(*event.trashedOn));
        else
            sqlite3_bind_null(insert_, 7);
        sqlite3_bind_text(insert_, 8, reasonName(event.reason), -1, SQLITE_STATIC);
        sqlite3_bind_int(insert_, 9, event.deleted ? 1 : 0);
        if (event.deleted)
            sqlite3_bind_text(insert_, 10, "", 0, SQLITE_STATIC);
        else
            bindText(insert_, 10, event.failure);
        code = sqlite3_step(insert_);
        if (code != SQLITE_DONE)
            break;
    }
    if (code == SQLITE_DONE) {
        sqlite3_reset(pruneOld_);
        sqlite3_bind_int64(pruneOld_, 1, millisecondsOf(now - kKeptFor));
        code = sqlite3_step(pruneOld_);
    }
    if (code == SQLITE_DONE) {
        sqlite3_reset(pruneMany_);
        sqlite3_bind_int64(pruneMany_, 1, kMaximumRows);
        code = sqlite3_step(pruneMany_);
    }
    if (code == SQLITE_DONE)
        code = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    for (auto* statement : {insert_, pruneOld_, pruneMany_})
        sqlite3_reset(statement);
    sqlite3_clear_bindings(insert_);
    if (code == SQLITE_OK)
        return Outcome::Written;
    const Outcome outcome = fail(code, "cannot write the history");
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return outcome;
}

void HistoryStore::checkpoint()
{
    if (db_)
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
}

std::vector<HistoryRow> HistoryStore::rows(std::optional<TimePoint> since)
{
    std::vector<HistoryRow> rows;
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db_,
                                  "SELECT id, at, trash, volume, path, original, bytes, trashed, reason, deleted,"
                                  " failure FROM deletions WHERE at >= ? ORDER BY id DESC",
                                  -1, &statement, nullptr);
    if (code != SQLITE_OK) {
        fail(code, "cannot read the history");
        return rows;
    }
    Finalizer done(statement);
    sqlite3_bind_int64(statement, 1, since ? millisecondsOf(*since) : INT64_MIN);
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
        HistoryRow& row = rows.emplace_back();
        row.id = sqlite3_column_int64(statement, 0);
        row.when = timeOfMilliseconds(sqlite3_column_int64(statement, 1));
        row.trash = columnText(statement, 2);
        row.volumePath = columnText(statement, 3);
        row.path = columnText(statement, 4);
        row.originalLocation = columnText(statement, 5);
        row.bytes = static_cast<double>(sqlite3_column_int64(statement, 6));
        if (sqlite3_column_type(statement, 7) != SQLITE_NULL)
            row.trashedOn = timeOfMilliseconds(sqlite3_column_int64(statement, 7));
        row.reason = columnText(statement, 8);
        row.deleted = sqlite3_column_int(statement, 9) != 0;
        row.failure = columnText(statement, 10);
    }
    if (code != SQLITE_DONE)
        fail(code, "cannot read the history");
    else
        error_.clear();
    return rows;
}

std::optional<std::string> HistoryStore::setAside(const std::string& path, TimePoint now)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string moved = path + "." + stamp + (attempt ? strprintf("-%d", attempt) : "");
        if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, moved.c_str(), RENAME_NOREPLACE) == 0) {
            // The log and the index go with it, so that the set-aside copy opens as it was.
            for (const char* companion : {"-wal", "-shm"})
                renameat2(AT_FDCWD, (path + companion).c_str(), AT_FDCWD, (moved + companion).c_str(),
                          RENAME_NOREPLACE);
            return moved;
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace bw
