// Peak resident size of the program's measurement against the idle program: a full
// measurement of a home trash of 1,000,000 entries in 1,000 root items, then a full and an
// incremental measurement of one of 100,000 root items, and a forced emptying of that one.
// Each figure is the peak so far, so a later one bounds what it adds. The trees are built
// by a child process so that only the program's work weighs on this one's peak. Built under
// $TMPDIR (default /tmp); the file system is printed. Figures in MiB, from getrusage.
#include "app/Controllers.h"
#include "bench/BenchSupport.h"
#include "platform/posix/SystemClock.h"
#include "tests/support/TestPlatform.h"

#include <sys/wait.h>
#include <unistd.h>

using namespace bw;
using namespace bw::bench;

namespace {

template <typename F>
void inChild(F&& build)
{
    const pid_t child = fork();
    if (child == 0) {
        build();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main()
{
    test::TestPlatform tp;
    posix::SystemClock clock; // the icon flashes during the pass at its own pace
    tp.platform.clock = &clock;
    Controllers::registerDefaults(tp.defaults);
    Controllers controllers(tp.platform);
    const std::string wide = tp.home / "wide";
    std::printf("building trashes of 1,000,000 entries and of 100,000 root items in %s (%s) ...\n",
                tp.home.path().c_str(), fileSystemOf(tp.home.path()));
    inChild([&] {
        // 1,000 root items of 10 folders of 99 files: 1,000 * (1 + 10 * 100) = 1,001,000.
        for (int r = 0; r < 1000; ++r)
            for (int d = 0; d < 10; ++d) {
                const std::string folder = tp.trash() + "/item" + std::to_string(r) + "/sub" + std::to_string(d);
                test::makeFolder(folder);
                for (int f = 0; f < 99; ++f)
                    test::writeFile(folder + "/f" + std::to_string(f), 0);
            }
        test::makeFolder(wide);
        for (int i = 0; i < 100000; ++i)
            test::writeFile(wide + "/item-with-a-longer-name-" + std::to_string(i), 10);
    });

    const double idle = peakResidentMiB();
    std::printf("idle program:                              peak %.1f MiB\n", idle);
    controllers.internal.initTrashSize();
    const double full = peakResidentMiB();
    std::printf("full measurement, 1,000,000 entries:       peak %.1f MiB (+%.1f, %zu items, %.0f bytes)\n", full,
                full - idle, controllers.internal.trashFiles().size(), controllers.internal.trashSize());

    // The same books over the folder of 100,000 items: moved in place of the trash.
    const std::string first = tp.home / "first";
    std::rename(tp.trash().c_str(), first.c_str());
    std::rename(wide.c_str(), tp.trash().c_str());
    controllers.internal.initTrashSize();
    const double flat = peakResidentMiB();
    std::printf("full measurement, 100,000 root items:      peak %.1f MiB (+%.1f, %zu items)\n", flat, flat - idle,
                controllers.internal.trashFiles().size());
    for (int i = 0; i < 10; ++i)
        test::writeFile(tp.trash() + "/new" + std::to_string(i), 10);
    controllers.internal.renewTrashSize();
    const double renewed = peakResidentMiB();
    std::printf("incremental measurement, 100,000 items:    peak %.1f MiB (+%.1f, %zu items)\n", renewed,
                renewed - idle, controllers.internal.trashFiles().size());
    // A forced emptying of those items: the pass reads them all into its queue at once.
    controllers.preferences.awakeFromNib();
    controllers.shredder.awakeFromNib();
    controllers.shredder.setShredderSwitch(false);
    controllers.internal.setShredMode(true);
    controllers.shredder.setShredMode(1);
    controllers.shredder.autoShredThread();
    const double pass = peakResidentMiB();
    std::printf("forced emptying, 100,010 root items:       peak %.1f MiB (+%.1f, %zu items left)\n", pass,
                pass - idle, controllers.internal.rootArray().size());
    std::printf("target: at most 64 MiB above the idle program\n");
    return 0;
}
