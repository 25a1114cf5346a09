// Full measurement of a home trash of about 300,000 entries against `du -sb` on the same
// tree, in one run. Prints both times and their ratio (lower is better; 1.0 = as fast as du).
#include "app/Controllers.h"
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

// 300 root items, each a folder of 10 folders of 99 files: 300 * (1 + 10 * 100) = 300,300.
void buildTrash(const std::string& trash)
{
    test::makeFolder(trash);
    for (int r = 0; r < 300; ++r) {
        const std::string root = trash + "/item" + std::to_string(r);
        for (int d = 0; d < 10; ++d) {
            const std::string folder = root + "/sub" + std::to_string(d);
            test::makeFolder(folder);
            for (int f = 0; f < 99; ++f)
                test::writeFile(folder + "/f" + std::to_string(f), static_cast<size_t>(f));
        }
    }
}

template <typename F>
double timed(F&& f)
{
    const auto start = Steady::now();
    f();
    return std::chrono::duration<double>(Steady::now() - start).count();
}

} // namespace

int main()
{
    test::TestPlatform tp;
    Controllers controllers(tp.platform);
    std::printf("building a trash of ~300,000 entries in %s ...\n", tp.trash().c_str());
    buildTrash(tp.trash());

    const std::string du = "du -sb '" + tp.trash() + "' > /dev/null";
    std::system(du.c_str()); // warm the caches for both
    // Alternate the two so that whatever else the machine does weighs on both alike; the
    // median of the per-round ratios is the figure.
    std::vector<double> ratios;
    double measure = 1e9, duTime = 1e9;
    for (int round = 0; round < 9; ++round) {
        const double m = timed([&] { controllers.internal.initTrashSize(); });
        const double d = timed([&] { std::system(du.c_str()); });
        measure = std::min(measure, m);
        duTime = std::min(duTime, d);
        ratios.push_back(m / d);
    }
    std::sort(ratios.begin(), ratios.end());

    std::printf("full measurement: best %.3f s (%.0f bytes)\n", measure, controllers.internal.trashSize());
    std::printf("du -sb:           best %.3f s\n", duTime);
    std::printf("ratio measurement/du: median %.2f, best-to-best %.2f (target <= 1.00)\n", ratios[ratios.size() / 2],
                measure / duTime);
    return 0;
}
