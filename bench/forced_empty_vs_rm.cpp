// Forced emptying of a home trash of flat root items (overwrite off) against `rm -rf` of the
// same tree, and how the emptying's time grows with the number of root items. Each step
// lists the trash and reads every item's date afresh, so the pass is expected to grow with
// the square of the item count; the figures show by how much.
#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace bw;
using Steady = std::chrono::steady_clock;

namespace {

void buildTrash(const std::string& trash, int items)
{
    test::makeFolder(trash);
    for (int i = 0; i < items; ++i) {
        const std::string path = trash + "/item" + std::to_string(i);
        test::writeFile(path, 100);
        test::setModificationTime(path, 1600000000 + (i * 7919) % items); // dates out of listing order
    }
}

double seconds(Steady::time_point since)
{
    return std::chrono::duration<double>(Steady::now() - since).count();
}

double forcedEmptying(int items)
{
    test::TestPlatform tp;
    Controllers::registerDefaults(tp.defaults);
    Controllers controllers(tp.platform);
    controllers.preferences.awakeFromNib();
    controllers.shredder.awakeFromNib();
    controllers.shredder.setShredderSwitch(false);
    buildTrash(tp.trash(), items);
    controllers.internal.initTrashSize();
    controllers.internal.setShredMode(true);
    controllers.shredder.setShredMode(1);

    const auto start = Steady::now();
    controllers.shredder.autoShredThread();
    const double elapsed = seconds(start);
    if (!controllers.internal.rootArray().empty())
        std::printf("  (the trash was not emptied)\n");
    return elapsed;
}

double removeWithRm(int items)
{
    test::TempDir dir;
    buildTrash(dir / ".Trash", items);
    const std::string command = "rm -rf '" + (dir / ".Trash") + "'";
    const auto start = Steady::now();
    if (std::system(command.c_str()) != 0)
        std::printf("  (rm -rf failed)\n");
    return seconds(start);
}

} // namespace

int main()
{
    const std::vector<int> counts = {1000, 2000, 5000, 10000};
    std::vector<double> times;
    std::printf("%8s %14s %10s %10s\n", "items", "forced (s)", "rm -rf (s)", "ratio");
    for (int n : counts) {
        const double forced = forcedEmptying(n);
        const double rm = removeWithRm(n);
        times.push_back(forced);
        std::printf("%8d %14.3f %10.3f %10.1f\n", n, forced, rm, forced / rm);
    }
    std::printf("growth from %d to %d items: %.1fx the time for %.0fx the items\n", counts.front(), counts.back(),
                times.back() / times.front(), static_cast<double>(counts.back()) / counts.front());
    return 0;
}
