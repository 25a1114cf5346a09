// Full measurement of a home trash of about 300,000 entries against `du -sb` on the same
// tree, alternating the two round by round: by two threads through the program's own books
// (what it does), and by one thread through the same walk. Prints the median of the
// per-round ratios (lower is better; 1.0 = as fast as du). The tree is built under $TMPDIR
// (default /tmp); the file system is printed.
#include "app/Controllers.h"
#include "bench/BenchSupport.h"
#include "platform/posix/Files.h"
#include "tests/support/TestPlatform.h"

#include <fcntl.h>
#include <unistd.h>

using namespace bw;
using namespace bw::bench;

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

double oneThread(const std::string& trash)
{
    const int fd = open(trash.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const auto sizes = posix::measuredSizes(fd, posix::listDirectoryAt(fd), 1);
    close(fd);
    double sum = 0;
    for (double size : sizes)
        sum += size;
    return sum;
}

} // namespace

int main()
{
    test::TestPlatform tp;
    Controllers controllers(tp.platform);
    std::printf("building a trash of ~300,000 entries in %s (%s) ...\n", tp.trash().c_str(),
                fileSystemOf(tp.home.path()));
    buildTrash(tp.trash());

    const std::string du = "du -sb " + quoted(tp.trash());
    run(du); // warm the caches for all
    std::vector<double> two, one;
    double single = 0;
    for (int round = 0; round < 9; ++round) {
        const double m2 = timed([&] { controllers.internal.initTrashSize(); });
        const double d1 = timed([&] { run(du); });
        const double m1 = timed([&] { single = oneThread(tp.trash()); });
        const double d2 = timed([&] { run(du); });
        two.push_back(m2 / d1);
        one.push_back(m1 / d2);
    }
    std::printf("bytes: %.0f by two threads, %.0f by one\n", controllers.internal.trashSize(), single);
    std::printf("ratio measurement/du, median of 9 rounds: two threads %.2f (target <= 0.65), one thread %.2f\n",
                median(two), median(one));
    return 0;
}
