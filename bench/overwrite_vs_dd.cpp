// Overwrite throughput of the shredder against dd writing the same bytes over the same file
// on the same file system, both synced to the disk at the end. Prints both and the ratio of
// throughputs (higher is better; 1.0 = as fast as dd).
#include "platform/posix/ShredOps.h"
#include "tests/support/TestPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using Steady = std::chrono::steady_clock;

namespace {

constexpr uint64_t kSize = 512ull << 20; // a multiple of 64 KiB and of 256 bytes

double overwriteOnce(const std::string& folder, const std::string& name)
{
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW);
    const auto start = Steady::now();
    const int fd = bw::posix::openForOverwrite(dirFd, name.c_str(), st);
    const int error = fd < 0 ? -1 : bw::posix::overwriteWithFill(fd, static_cast<uint64_t>(st.st_size));
    close(fd);
    const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
    close(dirFd);
    if (error != 0)
        std::fprintf(stderr, "overwrite failed: %d\n", error);
    return seconds;
}

double timeCommand(const std::string& command)
{
    const auto start = Steady::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return std::chrono::duration<double>(Steady::now() - start).count();
}

} // namespace

int main()
{
    bw::test::TempDir dir(std::getenv("BENCH_DIR") ? std::getenv("BENCH_DIR") : "");
    const std::string file = dir / "target";
    bw::test::writeFile(file, kSize, 'a');
    const std::string dd = "dd if=/dev/zero of='" + file + "' bs=64K count=" + std::to_string(kSize / 65536) +
                           " conv=notrunc,fdatasync status=none";
    const std::string ddNoSync = "dd if=/dev/zero of='" + file + "' bs=64K count=" +
                                 std::to_string(kSize / 65536) + " conv=notrunc status=none";
    double ours = 1e9, theirs = 1e9, oursNoSyncPeer = 1e9;
    for (int run = 0; run < 3; ++run) {
        ours = std::min(ours, overwriteOnce(dir.path(), "target"));
        theirs = std::min(theirs, timeCommand(dd));
        oursNoSyncPeer = std::min(oursNoSyncPeer, timeCommand(ddNoSync + " && sync -d '" + file + "'"));
    }
    const double mib = static_cast<double>(kSize) / (1 << 20);
    std::printf("overwrite %.0f MiB in %s\n", mib, dir.path().c_str());
    std::printf("shredder overwrite (1 MiB writes, fdatasync): %.3f s  %.0f MiB/s\n", ours, mib / ours);
    std::printf("dd bs=64K conv=notrunc,fdatasync:             %.3f s  %.0f MiB/s\n", theirs, mib / theirs);
    std::printf("dd bs=64K conv=notrunc, then sync -d:         %.3f s  %.0f MiB/s\n", oursNoSyncPeer,
                mib / oursNoSyncPeer);
    std::printf("throughput ratio shredder/dd: %.2f (target >= 0.80)\n", theirs / ours);
    return 0;
}
