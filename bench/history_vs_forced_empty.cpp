// The cost of the history against the forced emptying of 100,000 flat root items of a home
// trash (overwrite off, renaming on, as in bench_forced_empty_vs_rm): the emptying with the
// history listening and without it, in turn (A B A B ...), and the recording of 100,000
// deletion events alone (the deleting thread's share, and the time until the writer has
// committed the last). Not a test. TMPDIR chooses the file system of both the trash and the
// database; a count as the argument sets the number of items.
#include "app/Controllers.h"
#include "bench/BenchSupport.h"
#include "history/HistoryRecorder.h"
#include "platform/posix/SystemClock.h"
#include "tests/support/TestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace bw;

namespace {

void buildTrash(const std::string& trash, int items)
{
    test::makeFolder(trash);
    for (int i = 0; i < items; ++i) {
        const std::string path = trash + "/item" + std::to_string(i);
        test::writeFile(path, 100);
        test::setModificationTime(path, 1600000000 + (i * 7919) % items);
    }
}

struct Emptying {
    double seconds = 0.0; // until the pass ended and, with the history, the last row is committed
    std::uint64_t recorded = 0;
};

Emptying forcedEmptying(int items, bool withHistory)
{
    test::TestPlatform tp;
    posix::SystemClock clock;
    tp.platform.clock = &clock;
    Controllers::registerDefaults(tp.defaults);
    Controllers controllers(tp.platform);
    std::optional<HistoryRecorder> history;
    if (withHistory) {
        history.emplace(tp.home / ".local/state/brindlewick/history.sqlite3", tp.log, clock);
        controllers.shredder.addDeletionListener(*history);
        history->start(tp.workers);
    }
    controllers.preferences.awakeFromNib();
    controllers.shredder.awakeFromNib();
    controllers.shredder.setShredderSwitch(false);
    buildTrash(tp.trash(), items);
    controllers.internal.initTrashSize();
    controllers.internal.setShredMode(true);
    controllers.shredder.setShredMode(1);

    Emptying result;
    result.seconds = bench::timed([&] {
        controllers.shredder.autoShredThread();
        if (history)
            history->flush();
    });
    if (!controllers.internal.rootArray().empty())
        std::printf("  (the trash was not emptied)\n");
    if (history)
        result.recorded = history->committedRows();
    tp.workers.requestQuit();
    tp.workers.waitForAll();
    return result;
}

struct Recording {
    double queueing = 0.0;   // the deleting thread's time in the listener
    double total = 0.0;      // until the writer has committed every row
    double processor = 0.0;  // processor time of both threads meanwhile
};

double processorSeconds()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// 100,000 events of the shape a pass gives, fed as fast as one thread can, the writer
// committing them meanwhile on its own thread, as in the program.
Recording recordEvents(int events)
{
    test::TempDir dir;
    test::CapturingLog log;
    posix::SystemClock clock;
    Workers workers;
    HistoryRecorder recorder(dir / "state/brindlewick/history.sqlite3", log, clock);
    recorder.start(workers);
    std::vector<DeletionEvent> prepared;
    prepared.reserve(static_cast<size_t>(events));
    for (int i = 0; i < events; ++i) {
        DeletionEvent& event = prepared.emplace_back();
        event.when = clock.now();
        event.trash = "Home";
        event.path = dir / ".local/share/Trash/files/item" + std::to_string(i);
        event.originalLocation = dir / "Documents/reports/item" + std::to_string(i);
        event.bytes = 100;
        event.trashedOn = clock.now();
        event.reason = DeletionReason::ForcedEmptying;
        event.deleted = true;
    }
    Recording result;
    const double processorBefore = processorSeconds();
    result.total = bench::timed([&] {
        result.queueing = bench::timed([&] {
            for (const auto& event : prepared)
                recorder.itemDeleted(event);
        });
        recorder.flush();
    });
    result.processor = processorSeconds() - processorBefore;
    if (recorder.committedRows() != static_cast<std::uint64_t>(events))
        std::printf("  (only %llu rows recorded)\n", static_cast<unsigned long long>(recorder.committedRows()));
    workers.requestQuit();
    workers.waitForAll();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
    constexpr int kRounds = 3;
    test::TempDir probe;
    std::printf("file system: %s (%s), %d items, %d rounds\n", bench::fileSystemOf(probe.path()), probe.path().c_str(),
                items, kRounds);

    std::vector<double> without, with, passRatios, queueing, recording, recordRatios, processor, processorRatios,
        queueRatios;
    std::uint64_t recorded = 0;
    for (int round = 0; round < kRounds; ++round) {
        without.push_back(forcedEmptying(items, false).seconds);
        const Emptying listened = forcedEmptying(items, true);
        with.push_back(listened.seconds);
        recorded = listened.recorded;
        passRatios.push_back(with.back() / without.back());
        const Recording r = recordEvents(items);
        queueing.push_back(r.queueing);
        recording.push_back(r.total);
        recordRatios.push_back(r.total / without.back());
        processor.push_back(r.processor);
        processorRatios.push_back(r.processor / without.back());
        queueRatios.push_back(r.queueing / without.back());
        std::printf("round %d: emptying %.3f s, with the history %.3f s; recording alone %.3f s "
                    "(%.3f s of processor time, %.3f s on the deleting thread)\n",
                    round + 1, without.back(), with.back(), recording.back(), processor.back(), queueing.back());
        std::fflush(stdout);
    }
    std::printf("forced emptying, medians: without the history %.3f s, with it %.3f s: %+.1f %% "
                "(%llu deletions recorded during the emptying)\n",
                bench::median(without), bench::median(with), (bench::median(passRatios) - 1.0) * 100.0,
                static_cast<unsigned long long>(recorded));
    std::printf("recording %d deletions alone, medians: %.3f s until the last is committed (%.1f %% of the emptying), "
                "%.3f s of processor time (%.1f %%), %.3f s on the deleting thread (%.1f %%); target < 5 %%\n",
                items, bench::median(recording), bench::median(recordRatios) * 100.0, bench::median(processor),
                bench::median(processorRatios) * 100.0, bench::median(queueing), bench::median(queueRatios) * 100.0);
    return 0;
}
