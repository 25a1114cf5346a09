#include "tests/deletion/ShredderFixture.h"

#include "platform/posix/Files.h"

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace bw::test {
namespace {

using ShredderAdversarialTest = ShredderFixture;

// Names and contents of everything directly in a folder.
std::map<std::string, std::string> snapshot(const std::string& folder)
{
    std::map<std::string, std::string> all;
    for (const auto& name : posix::listDirectory(folder))
        all[name] = readFile(folder + "/" + name);
    return all;
}

TEST_F(ShredderAdversarialTest, FolderSwappedForALinkOutsideLeavesTheOutsideAlone)
{
    TempDir outside;
    for (int i = 0; i < 20; ++i)
        writeFile(outside / ("keep" + std::to_string(i)), 100, 'o');
    const auto before = snapshot(outside.path());
    TempDir stash;

    // Many folders per round, each swapped in turn, so that the walk meets a swap often.
    constexpr int kFolders = 40;
    for (int round = 0; round < 100; ++round) {
        const std::string item = inTrash("item" + std::to_string(round));
        for (int f = 0; f < kFolders; ++f) {
            makeFolder(item + "/sub" + std::to_string(f));
            writeFile(item + "/sub" + std::to_string(f) + "/file", 300);
        }
        std::atomic<bool> done{false};
        std::thread attacker([&] {
            for (int swaps = 0; !done.load() && swaps < 100000; ++swaps) {
                const std::string sub = item + "/sub" + std::to_string(swaps % kFolders);
                const std::string moved = stash / (std::to_string(round) + "-" + std::to_string(swaps));
                if (rename(sub.c_str(), moved.c_str()) != 0)
                    continue;
                symlink(outside.path().c_str(), sub.c_str());
                std::this_thread::yield();
                unlink(sub.c_str());
                rename(moved.c_str(), sub.c_str());
            }
        });
        shredder().shredFolderOrFile(item, &counter);
        done = true;
        attacker.join();
        ASSERT_EQ(snapshot(outside.path()), before) << "round " << round;
    }
}

TEST_F(ShredderAdversarialTest, TenThousandFoldersDeep)
{
    // Built through descriptors: the full path is far longer than PATH_MAX.
    makeFolder(inTrash("deep"));
    int fd = posix::openDirectoryNoFollow(inTrash("deep"));
    ASSERT_GE(fd, 0);
    for (int depth = 0; depth < 10000; ++depth) {
        ASSERT_EQ(mkdirat(fd, "d", 0700), 0);
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int file = openat(fd, "bottom", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(write(file, "x", 1), 1);
    close(file);
    close(fd);
    const double total = posix::measuredSize(inTrash("deep"));

    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("deep"), &counter), kShredDone);
    EXPECT_FALSE(exists(inTrash("deep")));
    EXPECT_EQ(1000000.0 - counter.load(), total);
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(ShredderAdversarialTest, FileOverTwoGibibytesIsOverwrittenWhole)
{
    constexpr off_t kSize = 2684354560 + 100; // 2.5 GiB and a partial block
    struct statvfs vfs {};
    if (statvfs(tp.home.path().c_str(), &vfs) != 0 ||
        static_cast<double>(vfs.f_bavail) * vfs.f_frsize < 3.0 * 1024 * 1024 * 1024)
        GTEST_SKIP() << "needs 3 GiB free next to the test's home";
    const std::string big = inTrash("big.img");
    const int fd = open(big.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, kSize), 0); // sparse: nothing written yet
    close(fd);

    setTestMode(true);
    shredder().setNoRenameSwitch(true);
    ASSERT_EQ(shredder().shredFolderOrFile(big, &counter), kShredDone);
    EXPECT_EQ(1000000.0 - counter.load(), static_cast<double>(kSize));
    const std::string landed = dump() + "/big.img";
    const auto st = posix::lstatPath(landed);
    ASSERT_TRUE(st);
    EXPECT_EQ(st->st_size, (kSize / 256 + 1) * 256);
    // Every 4 KiB block was written: nothing of the file is a hole any more.
    EXPECT_GE(st->st_blocks * 512, st->st_size);
    const int in = open(landed.c_str(), O_RDONLY | O_CLOEXEC);
    for (off_t at : {off_t{0}, off_t{2147483647}, off_t{2147483648}, kSize - 1, st->st_size - 1}) {
        unsigned char byte = 0;
        ASSERT_EQ(pread(in, &byte, 1, at), 1);
        EXPECT_EQ(byte, 0xFF) << "at " << at;
    }
    close(in);
    unlink(landed.c_str());
}

} // namespace
} // namespace bw::test
