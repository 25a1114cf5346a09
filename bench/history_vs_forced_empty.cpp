// The cost of the history against the forced emptying of 100,000 flat root items of a home
// trash (overwrite off, renaming on, as in bench_forced_empty_vs_rm): the emptying with the
// history listening and without it, in turn (A B B A ...), and the recording of 100,000
// deletion events alone (the deleting thread's share, and the time until the writer has
// committed the last). Not a test. TMPDIR chooses the file system of both the trash and the
// database; a count as the first argument sets the number of items, the second the rounds.
#include "app/Controllers.h"
#include "bench/FlatTrash.h"
#include "bench/BenchSupport.h"
#include "history/HistoryRecorder.h"
#include "platform/posix/SystemClock.h"
#include "tests/support/TestPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

using namespace bw;

namespace {

double processorSeconds()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Emptying {
    double seconds = 0.0; // until the pass ended and, with the history, the last row is committed
    double processor = 0.0;
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
    bench::buildFlatTrash(tp.trash(), items);
    // The trash's own writeback before the clock starts, not during either emptying.
    ::sync();
    controllers.internal.initTrashSize();
    controllers.internal.setShredMode(true);
    controllers.shredder.setShredMode(1);

    Emptying result;
    const double processorBefore = processorSeconds();
    result.seconds = bench::timed([&] {
        controllers.shredder.autoShredThread();
        if (history)
            history->flush();
    });
    result.processor = processorSeconds() - processorBefore;
    if (!controllers.internal.rootArray().empty())
        std::printf("  (the trash was not emptied)\n");
    if (history)
        result.recorded = history->committedRows();
    tp.workers.requestQuit();
    tp.workers.waitForAll();
    return result;
}

struct Recording {
    double queueing = 0.0;   // the deleting thread's processor time in the listener
    double committed = 0.0;  // until the writer has committed the last row
    double processor = 0.0;  // processor time of both threads until then
    double allTold = 0.0;    // processor time with the copy of the log into the database
};

double threadProcessorSeconds()
{
    struct rusage usage {};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The events of a pass of `events` items, fed as fast as one thread can, the writer
// committing them meanwhile on its own thread, as in the program.
Recording recordEvents(int events)
{
    test::TempDir dir;
    test::CapturingLog log;
    posix::SystemClock clock;
    Workers workers;
    std::optional<HistoryRecorder> recorder(std::in_place, dir / "state/brindlewick/history.sqlite3", log, clock);
    recorder->start(workers);
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
    result.committed = bench::timed([&] {
        const double threadBefore = threadProcessorSeconds();
        for (const auto& event : prepared)
            recorder->itemDeleted(event);
        result.queueing = threadProcessorSeconds() - threadBefore;
        recorder->flush();
    });
    result.processor = processorSeconds() - processorBefore;
    if (recorder->committedRows() != static_cast<std::uint64_t>(events))
        std::printf("  (only %llu rows recorded)\n", static_cast<unsigned long long>(recorder->committedRows()));
    workers.requestQuit();
    workers.waitForAll();
    recorder.reset();
    result.allTold = processorSeconds() - processorBefore;
    return result;
}

double percent(double part, double whole)
{
    return whole > 0.0 ? part / whole * 100.0 : 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 4;
    test::TempDir probe;
    std::printf("file system: %s (%s), %d items, %d rounds\n", bench::fileSystemOf(probe.path()), probe.path().c_str(),
                items, rounds);

    std::vector<double> without, withHistory, ratios, processorRatios, emptyingProcessor;
    std::vector<double> queueing, committed, processor, allTold;
    std::uint64_t recorded = 0;
    for (int round = 0; round < rounds; ++round) {
        // Which of the two goes first alternates, so that neither always meets the other's leftovers.
        Emptying alone;
        Emptying listened;
        if (round % 2 == 0) {
            alone = forcedEmptying(items, false);
            listened = forcedEmptying(items, true);
        } else {
            listened = forcedEmptying(items, true);
            alone = forcedEmptying(items, false);
        }
        const Recording r = recordEvents(items);
        without.push_back(alone.seconds);
        emptyingProcessor.push_back(alone.processor);
        withHistory.push_back(listened.seconds);
        ratios.push_back(alone.seconds > 0.0 ? listened.seconds / alone.seconds : 0.0);
        processorRatios.push_back(alone.processor > 0.0 ? listened.processor / alone.processor : 0.0);
        recorded = listened.recorded;
        queueing.push_back(r.queueing);
        committed.push_back(r.committed);
        processor.push_back(r.processor);
        allTold.push_back(r.allTold);
        std::printf("round %d: emptying %.3f s (%.3f s of processor time), with the history listening %.3f s "
                    "(%.3f s; ratios %.3f and %.3f of processor time); "
                    "recording alone: committed after %.3f s, %.3f s of processor time (%.3f s on the deleting "
                    "thread), %.3f s with the log's copy\n",
                    round + 1, alone.seconds, alone.processor, listened.seconds, listened.processor, ratios.back(),
                    processorRatios.back(), r.committed, r.processor, r.queueing, r.allTold);
        std::fflush(stdout);
    }
    const double emptying = bench::median(emptyingProcessor);
    std::printf("forced emptying, medians: %.3f s without the history, %.3f s with it listening "
                "(%llu deletions recorded during it); with/without, medians of the rounds' ratios: %.3f, "
                "%.3f of processor time\n",
                bench::median(without), bench::median(withHistory), static_cast<unsigned long long>(recorded),
                bench::median(ratios), bench::median(processorRatios));
    std::printf("recording %d deletions, medians against the emptying's %.3f s of processor time: "
                "deleting thread %.3f s (%.1f %%), writer and deleting thread %.3f s (%.1f %%), "
                "with the log's copy after the pass %.3f s (%.1f %%); target < 5 %%\n",
                items, emptying, bench::median(queueing), percent(bench::median(queueing), emptying),
                bench::median(processor), percent(bench::median(processor), emptying), bench::median(allTold),
                percent(bench::median(allTold), emptying));
    return 0;
}
