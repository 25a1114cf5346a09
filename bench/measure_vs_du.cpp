// Full measurement of a home trash of about 300,000 entries against `du -sb` on the same
// tree, in one run. Prints both times and their ratio (lower is better; 1.0 = as fast as du).
#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

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
double bestOf(int runs, F&& f)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Steady::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Steady::now() - start).count());
    }
    return best;
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
    const double measure = bestOf(5, [&] { controllers.internal.initTrashSize(); });
    const double duTime = bestOf(5, [&] { std::system(du.c_str()); });

    std::printf("full measurement: %.3f s (%.0f bytes)\n", measure, controllers.internal.trashSize());
    std::printf("du -sb:           %.3f s\n", duTime);
    std::printf("ratio measurement/du: %.2f (target <= 1.00)\n", measure / duTime);
    return 0;
}
