// Removal of a 100,000-file trash item by the shredder with overwriting off (each entry still
// unlocked, renamed to its time-stamp name and removed) against `rm -rf` on an identical
// tree. Prints both times and their ratio (lower is better; 1.0 = as fast as rm).
#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace bw;
using Steady = std::chrono::steady_clock;

namespace {

// 100 folders of 1,000 small files.
void buildTree(const std::string& root)
{
    for (int d = 0; d < 100; ++d) {
        const std::string folder = root + "/dir" + std::to_string(d);
        test::makeFolder(folder);
        for (int f = 0; f < 1000; ++f)
            test::writeFile(folder + "/file" + std::to_string(f), static_cast<size_t>(f % 64));
    }
}

double seconds(Steady::time_point since)
{
    return std::chrono::duration<double>(Steady::now() - since).count();
}

} // namespace

int main()
{
    test::TestPlatform tp;
    Controllers controllers(tp.platform);
    controllers.shredder.awakeFromNib();
    controllers.shredder.setShredderSwitch(false);
    std::atomic<double> counter{0.0};

    double ours = 1e9, theirs = 1e9;
    for (int run = 0; run < 3; ++run) {
        const std::string a = tp.home / ("ours" + std::to_string(run));
        const std::string b = tp.home / ("rm" + std::to_string(run));
        buildTree(a);
        buildTree(b);
        std::system("sync");
        auto start = Steady::now();
        const int code = controllers.shredder.shredFolderOrFile(a, &counter);
        ours = std::min(ours, seconds(start));
        start = Steady::now();
        std::system(("rm -rf '" + b + "'").c_str());
        theirs = std::min(theirs, seconds(start));
        if (code != 0)
            std::fprintf(stderr, "shredder returned %d\n", code);
    }
    std::printf("remove 100,000 files in %s\n", tp.home.path().c_str());
    std::printf("shredder (no overwrite): %.3f s\n", ours);
    std::printf("rm -rf:                  %.3f s\n", theirs);
    std::printf("ratio shredder/rm: %.2f (target <= 1.50)\n", ours / theirs);
    return 0;
}
