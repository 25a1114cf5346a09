// The incremental measurement of a home trash of 100,000 root items of which 10 are new
// (arrived since the last measurement), against listing the folder with `ls -f | wc -l`,
// alternating round by round. Prints the median of the per-round ratios (lower is better).
// Built under $TMPDIR (default /tmp); the file system is printed.
#include "app/Controllers.h"
#include "bench/BenchSupport.h"
#include "tests/support/TestPlatform.h"

using namespace bw;
using namespace bw::bench;

int main()
{
    test::TestPlatform tp;
    Controllers controllers(tp.platform);
    std::printf("building a trash of 100,000 root items in %s (%s) ...\n", tp.trash().c_str(), fileSystemOf(tp.home.path()));
    test::makeFolder(tp.trash());
    for (int i = 0; i < 100000; ++i)
        test::writeFile(tp.trash() + "/item" + std::to_string(i), static_cast<size_t>(i % 100));
    controllers.internal.initTrashSize();

    const std::string ls = "ls -f " + quoted(tp.trash()) + " | wc -l";
    run(ls);
    std::vector<double> ratios;
    int arrived = 0;
    for (int round = 0; round < 15; ++round) {
        for (int i = 0; i < 10; ++i)
            test::writeFile(tp.trash() + "/new" + std::to_string(arrived++), 100);
        const double m = timed([&] { controllers.internal.renewTrashSize(); });
        const double l = timed([&] { run(ls); });
        ratios.push_back(m / l);
    }
    std::printf("items in the books: %zu\n", controllers.internal.trashFiles().size());
    std::printf("ratio incremental measurement/ls -f, median of 15 rounds: %.2f (target <= 1.20)\n", median(ratios));
    return 0;
}
