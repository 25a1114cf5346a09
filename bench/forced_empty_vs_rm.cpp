// Forced emptying of a home trash of flat root items (overwrite off, renaming on) against
// `rm -rf` of the same tree on the same file system, and how the emptying's time grows with
// the number of root items; then how a free-space pass that deletes every item grows. The
// two tools are run in turn, A B A B, each on a freshly built tree; each size's figure is the
// median of its per-round ratios. Not a test.
// TMPDIR chooses the file system; a count as the argument runs one emptying of that size alone.
#include "app/Controllers.h"
#include "bench/FlatTrash.h"
#include "platform/posix/SystemClock.h"
#include "tests/support/TestPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace bw;
using Steady = std::chrono::steady_clock;

namespace {

double seconds(Steady::time_point since)
{
    return std::chrono::duration<double>(Steady::now() - since).count();
}

// One automatic pass over a home trash of `items` root items: a forced emptying, or a pass
// on a volume that stays short of space (its free space is reported as 0), which deletes them all.
double automaticPass(int items, bool forced)
{
    test::TestPlatform tp;
    // The real clock, as in the program: the icon flashes at its own pace, not at every
    // millisecond of a test clock.
    posix::SystemClock clock;
    tp.platform.clock = &clock;
    Controllers::registerDefaults(tp.defaults);
    Controllers controllers(tp.platform);
    controllers.preferences.awakeFromNib();
    controllers.shredder.awakeFromNib();
    controllers.shredder.setShredderSwitch(false);
    bench::buildFlatTrash(tp.trash(), items);
    controllers.internal.initTrashSize();
    if (forced) {
        controllers.internal.setShredMode(true);
        controllers.shredder.setShredMode(1);
    } else {
        tp.space.set(1e12, 0.0);
    }

    const auto start = Steady::now();
    controllers.shredder.autoShredThread();
    const double elapsed = seconds(start);
    if (!controllers.internal.rootArray().empty())
        std::printf("  (the trash was not emptied)\n");
    return elapsed;
}

double forcedEmptying(int items)
{
    return automaticPass(items, true);
}

double removeWithRm(int items)
{
    test::TempDir dir;
    bench::buildFlatTrash(dir / ".Trash", items);
    const std::string command = "rm -rf '" + (dir / ".Trash") + "'";
    const auto start = Steady::now();
    if (std::system(command.c_str()) != 0)
        std::printf("  (rm -rf failed)\n");
    return seconds(start);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::string fileSystemOf(const std::string& path)
{
    std::string name;
    if (FILE* out = popen(("df --output=fstype '" + path + "' | tail -n 1").c_str(), "r")) {
        char buffer[64] = {};
        if (std::fgets(buffer, sizeof buffer, out))
            name = buffer;
        pclose(out);
    }
    while (!name.empty() && (name.back() == '\n' || name.back() == ' '))
        name.pop_back();
    return name.empty() ? "unknown" : name;
}

struct Figures {
    double forced = 0.0; // median seconds
    double rm = 0.0;
    double ratio = 0.0; // median of the per-round ratios
};

Figures compare(int items, int rounds)
{
    std::vector<double> forced, rm, ratios;
    for (int round = 0; round < rounds; ++round) {
        forced.push_back(forcedEmptying(items));
        rm.push_back(removeWithRm(items));
        ratios.push_back(forced.back() / rm.back());
    }
    return {median(forced), median(rm), median(ratios)};
}

} // namespace

int main(int argc, char** argv)
{
    // With a count: one forced emptying of that many items alone, to look at it closely.
    if (argc > 1) {
        const int items = std::atoi(argv[1]);
        std::printf("forced emptying of %d items: %.3f s\n", items, forcedEmptying(items));
        return 0;
    }
    test::TempDir probe;
    std::printf("file system: %s (%s)\n", fileSystemOf(probe.path()).c_str(), probe.path().c_str());
    std::printf("%8s %7s %12s %12s %14s\n", "items", "rounds", "forced (s)", "rm -rf (s)", "ratio (median)");
    struct Size {
        int items;
        int rounds;
    };
    const std::vector<Size> sizes = {{1000, 9}, {10000, 5}, {100000, 1}};
    std::vector<Figures> figures;
    for (const auto& size : sizes) {
        figures.push_back(compare(size.items, size.rounds));
        const Figures& f = figures.back();
        std::printf("%8d %7d %12.3f %12.3f %14.2f\n", size.items, size.rounds, f.forced, f.rm, f.ratio);
        std::fflush(stdout);
    }
    std::printf("10,000 items: forced/rm -rf %.2f (target <= 3)\n", figures[1].ratio);
    std::printf("growth from 1,000 to 10,000 items: %.1fx the time (target <= 12)\n", figures[1].forced / figures[0].forced);
    std::printf("growth from 10,000 to 100,000 items: %.1fx the time\n", figures[2].forced / figures[1].forced);
    std::vector<double> small, large;
    for (int round = 0; round < 5; ++round) {
        small.push_back(automaticPass(1000, false));
        large.push_back(automaticPass(10000, false));
    }
    std::printf("free-space pass, medians of 5: 1,000 items %.3f s, 10,000 items %.3f s: growth %.1fx (target <= 12)\n",
                median(small), median(large), median(large) / median(small));
    return 0;
}
