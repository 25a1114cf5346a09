#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bw::test {

namespace {

using namespace std::chrono_literals;

DeletionEvent eventNumber(int n, TimePoint when)
{
    DeletionEvent event;
    event.when = when;
    event.trash = "Home";
    event.path = "/home/u/.local/share/Trash/files/item-" + std::to_string(n);
    event.originalLocation = "/home/u/Documents/item-" + std::to_string(n);
    event.bytes = n;
    event.reason = DeletionReason::FreeSpace;
    event.deleted = true;
    return event;
}

int modeOf(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

std::vector<HistoryRow> readAll(const std::string& path)
{
    HistoryStore store;
    EXPECT_TRUE(store.openForReading(path)) << store.error();
    return store.rows();
}

TEST(HistoryStore, KeepsEveryFieldAsGivenAndOnlyAYearAndTheRowLimit)
{
    TempDir dir;
    // Where it lives: a relative or empty XDG_STATE_HOME counts as unset.
    EXPECT_EQ(HistoryStore::defaultPath("/home/u", nullptr), "/home/u/.local/state/brindlewick/history.sqlite3");
    EXPECT_EQ(HistoryStore::defaultPath("/home/u", "state"), "/home/u/.local/state/brindlewick/history.sqlite3");
    EXPECT_EQ(HistoryStore::defaultPath("/home/u", "/var/s"), "/var/s/brindlewick/history.sqlite3");

    const std::string path = dir / "state/brindlewick/history.sqlite3";
    HistoryStore store;
    ASSERT_EQ(store.openForWriting(path), HistoryStore::Outcome::Written) << store.error();
    // Its folders are made private, and so is the database.
    EXPECT_EQ(modeOf(dir / "state/brindlewick"), 0700);
    EXPECT_EQ(modeOf(dir / "state"), 0700);
    EXPECT_EQ(modeOf(path), 0600);

    const TimePoint now = std::chrono::system_clock::from_time_t(1800000000);
    DeletionEvent odd = eventNumber(1, now - 2s);
    // Names are bytes: a line feed, a percent sign and a byte that is not UTF-8 come back as given.
    odd.path = "/mnt/USB/.Trash-1000/files/a\nb%41\xff";
    odd.originalLocation = "";
    odd.trash = "USB";
    odd.volumePath = "/mnt/USB";
    odd.bytes = 5e12;
    odd.trashedOn = now - 48h;
    odd.reason = DeletionReason::Age;
    DeletionEvent failed = eventNumber(2, now - 1s);
    failed.deleted = false;
    failed.failure = "Permission denied";
    failed.reason = DeletionReason::CommandLine;
    ASSERT_EQ(store.append({odd, failed}, now), HistoryStore::Outcome::Written) << store.error();

    const auto rows = store.rows();
    ASSERT_EQ(rows.size(), 2u);
    // Newest first.
    EXPECT_EQ(rows[0].path, failed.path);
    EXPECT_FALSE(rows[0].deleted);
    EXPECT_EQ(rows[0].failure, "Permission denied");
    EXPECT_EQ(rows[0].reason, "command line");
    EXPECT_FALSE(rows[0].trashedOn.has_value());
    EXPECT_EQ(rows[1].path, odd.path);
    // Without a description, the original location is where it lay in the trash.
    EXPECT_EQ(rows[1].originalLocation, odd.path);
    EXPECT_EQ(rows[1].trash, "USB");
    EXPECT_EQ(rows[1].volumePath, "/mnt/USB");
    EXPECT_EQ(rows[1].bytes, 5e12);
    EXPECT_EQ(rows[1].trashedOn, now - 48h);
    EXPECT_EQ(rows[1].when, now - 2s);
    EXPECT_EQ(rows[1].reason, "age");
    EXPECT_TRUE(rows[1].deleted);
    EXPECT_EQ(store.rows(now - 1s).size(), 1u);

    // A year later the old rows go at the next write; what is a day short of a year stays.
    const TimePoint later = now + HistoryStore::kKeptFor + 1s;
    ASSERT_EQ(store.append({eventNumber(3, later - HistoryStore::kKeptFor + 24h)}, later),
              HistoryStore::Outcome::Written);
    ASSERT_EQ(store.rows().size(), 1u);

    // No more than the row limit: the oldest go.
    std::vector<DeletionEvent> many;
    for (int i = 0; i < HistoryStore::kMaximumRows + 10; ++i)
        many.push_back(eventNumber(100 + i, later));
    ASSERT_EQ(store.append(many, later), HistoryStore::Outcome::Written) << store.error();
    const auto kept = store.rows();
    ASSERT_EQ(kept.size(), static_cast<size_t>(HistoryStore::kMaximumRows));
    EXPECT_EQ(kept.back().path, many[10].path);
    EXPECT_EQ(kept.front().path, many.back().path);
}

TEST(HistoryRecorder, EveryEventOfManyThreadsIsCommittedInOrderByTheWriterAndAtTheEnd)
{
    TempDir dir;
    const std::string path = dir / "history.sqlite3";
    CapturingLog log;
    FakeClock clock;
    constexpr int kThreads = 4;
    constexpr int kEach = 3000;
    {
        Workers workers;
        HistoryRecorder recorder(path, log, clock);
        recorder.start(workers);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < kEach; ++i) {
                    DeletionEvent event = eventNumber(i, clock.now());
                    event.trash = "thread " + std::to_string(t);
                    recorder.itemDeleted(event);
                }
            });
        for (auto& thread : threads)
            thread.join();
        // The writer commits without being asked: a full batch at once, the rest after a while.
        for (int i = 0; i < 100 && recorder.committedRows() < kThreads * kEach; ++i)
            std::this_thread::sleep_for(50ms);
        EXPECT_EQ(recorder.committedRows(), static_cast<std::uint64_t>(kThreads * kEach));

        // After the workers quit, an event still arriving is committed at the end.
        workers.requestQuit();
        workers.waitForAll();
        recorder.itemDeleted(eventNumber(kEach, clock.now()));
    }
    const auto rows = readAll(path);
    ASSERT_EQ(rows.size(), static_cast<size_t>(kThreads * kEach + 1));
    // Each thread's events in the order it gave them (rows come newest first).
    std::map<std::string, int> next;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (it->trash == "Home")
            continue;
        EXPECT_EQ(it->path, eventNumber(next[it->trash]++, {}).path) << it->trash;
    }
    EXPECT_TRUE(log.lines().empty()) << log.lines().front();
}

// A writer killed at any moment leaves every row it had reported committed, and whole batches
// only: the rows are the first n events, without a gap.
TEST(HistoryRecorder, SigkillDuringWritingLosesNoCommittedRow)
{
    TempDir dir;
    const std::string path = dir / "history.sqlite3";
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(report[0]);
        CapturingLog log;
        FakeClock clock;
        Workers workers;
        HistoryRecorder recorder(path, log, clock);
        recorder.start(workers);
        std::uint64_t told = 0;
        for (int i = 0;; ++i) {
            recorder.itemDeleted(eventNumber(i, clock.now()));
            if (i % 100 != 0)
                continue;
            const std::uint64_t committed = recorder.committedRows();
            if (committed != told) {
                told = committed;
                if (write(report[1], &told, sizeof told) != sizeof told)
                    _exit(1);
            }
            std::this_thread::sleep_for(200us);
        }
    }
    close(report[1]);
    std::uint64_t committed = 0;
    while (committed < 20000 && read(report[0], &committed, sizeof committed) == sizeof committed) {
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(report[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(committed, 20000u);

    const auto rows = readAll(path);
    EXPECT_GE(rows.size(), committed);
    for (size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(rows[rows.size() - 1 - i].path, eventNumber(static_cast<int>(i), {}).path);
}

TEST(HistoryRecorder, ADamagedOrLockedDatabaseIsSetAsideWithOneLineAndRecordingGoesOn)
{
    TempDir dir;
    const std::string path = dir / "history.sqlite3";
    CapturingLog log;
    FakeClock clock;

    // Damaged: not a database at all.
    writeFile(path, 8192, '\x5a');
    {
        HistoryRecorder recorder(path, log, clock);
        recorder.itemDeleted(eventNumber(1, clock.now()));
        recorder.flush();
        EXPECT_EQ(recorder.committedRows(), 1u);
    }
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.contains("set aside as " + path + ".2")) << log.lines().front();
    auto rows = readAll(path);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].path, eventNumber(1, {}).path);
    int setAside = 0;
    for (const auto& name : posix::listDirectory(dir.path()))
        if (name.rfind("history.sqlite3.", 0) == 0 && name.find("-wal") == std::string::npos &&
            name.find("-shm") == std::string::npos) {
            ++setAside;
            EXPECT_EQ(readFile(dir / name), std::string(8192, '\x5a'));
        }
    EXPECT_EQ(setAside, 1);

    // Locked: another holds its write lock for longer than a write waits. The rows of the
    // batch go to a fresh database, and so do the next ones.
    log.clear();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; DELETE FROM deletions", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        HistoryRecorder recorder(path, log, clock);
        recorder.itemDeleted(eventNumber(2, clock.now()));
        recorder.flush();
        recorder.itemDeleted(eventNumber(3, clock.now()));
        recorder.flush();
        EXPECT_EQ(recorder.committedRows(), 2u);
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.contains("was unusable")) << (log.lines().empty() ? "" : log.lines().front());
    rows = readAll(path);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].path, eventNumber(2, {}).path);
    EXPECT_EQ(rows[0].path, eventNumber(3, {}).path);
}

} // namespace
} // namespace bw::test
