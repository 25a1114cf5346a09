// Full measurement of a freedesktop.org home trash ($XDG_DATA_HOME/Trash: files/ of about
// 300,000 entries in 300 items, info/ with one .trashinfo each) through the program's books,
// against `du -sb` of files/, alternating round by round. Prints the median of the per-round
// ratios (lower is better). Built under $TMPDIR (default /tmp); the file system is printed.
#include "app/Controllers.h"
#include "bench/BenchSupport.h"
#include "tests/support/TestPlatform.h"

using namespace bw;
using namespace bw::bench;

namespace {

void buildTrash(const std::string& trash)
{
    test::makeFolder(trash + "/info");
    for (int r = 0; r < 300; ++r) {
        const std::string name = "item" + std::to_string(r);
        const std::string root = trash + "/files/" + name;
        for (int d = 0; d < 10; ++d) {
            const std::string folder = root + "/sub" + std::to_string(d);
            test::makeFolder(folder);
            for (int f = 0; f < 99; ++f)
                test::writeFile(folder + "/f" + std::to_string(f), static_cast<size_t>(f));
        }
        FILE* info = std::fopen((trash + "/info/" + name + ".trashinfo").c_str(), "w");
        std::fprintf(info, "[Trash Info]\nPath=/home/someone/%s\nDeletionDate=2024-05-01T10:%02d:00\n", name.c_str(),
                     r % 60);
        std::fclose(info);
    }
}

} // namespace

int main()
{
    test::TestPlatform tp;
    Controllers controllers(tp.platform);
    const std::string trash = tp.home / ".local/share/Trash";
    std::printf("building a freedesktop trash of ~300,000 entries in %s (%s) ...\n", trash.c_str(),
                fileSystemOf(tp.home.path()));
    buildTrash(trash);

    const std::string du = "du -sb " + quoted(trash + "/files");
    run(du);
    std::vector<double> ratios;
    for (int round = 0; round < 9; ++round) {
        const double m = timed([&] { controllers.internal.initTrashSize(); });
        const double d = timed([&] { run(du); });
        ratios.push_back(m / d);
    }
    std::printf("bytes: %.0f in %zu items\n", controllers.internal.trashSize(), controllers.internal.trashFiles().size());
    std::printf("ratio measurement/du of files/, median of 9 rounds: %.2f (target <= 0.95)\n", median(ratios));
    return 0;
}
