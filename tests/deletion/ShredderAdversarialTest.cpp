#include "tests/deletion/ShredderFixture.h"

#include "platform/posix/Files.h"

#include <algorithm>
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

TEST_F(ShredderAdversarialTest, FileOverTwoGibibytesHasAllItsDataOverwritten)
{
    constexpr off_t kSize = 2684354560 + 100; // 2.5 GiB and a partial block
    // Data around the 2 GiB mark and at the end, holes in between.
    const off_t dataAt[] = {0, 2147483647, 2147483648, kSize - 1};
    const std::string big = inTrash("big.img");
    const int fd = open(big.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, kSize), 0);
    for (off_t at : dataAt)
        ASSERT_EQ(pwrite(fd, "d", 1, at), 1);
    close(fd);

    setTestMode(true);
    shredder().setNoRenameSwitch(true);
    ASSERT_EQ(shredder().shredFolderOrFile(big, &counter), kShredDone);
    EXPECT_EQ(1000000.0 - counter.load(), static_cast<double>(kSize));
    const std::string landed = dump() + "/big.img";
    const auto st = posix::lstatPath(landed);
    ASSERT_TRUE(st);
    EXPECT_EQ(st->st_size, (kSize / 256 + 1) * 256);
    const int in = open(landed.c_str(), O_RDONLY | O_CLOEXEC);
    for (off_t at : {dataAt[0], dataAt[1], dataAt[2], dataAt[3], st->st_size - 1}) {
        unsigned char byte = 0;
        ASSERT_EQ(pread(in, &byte, 1, at), 1);
        EXPECT_EQ(byte, 0xFF) << "at " << at;
    }
    close(in);
    unlink(landed.c_str());
}

TEST_F(ShredderAdversarialTest, SparseFileOnASmallVolumeHasOnlyItsDataOverwritten)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to mount a tmpfs";
    TempDir mountPoint;
    const TmpfsVolume volume(mountPoint.path(), "64M");
    if (volume.path.empty())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    constexpr off_t kGiB = 1024 * 1024 * 1024;
    constexpr off_t kSize = kGiB + 100;
    const std::string sparse = volume.path + "/disk.img";
    const int fd = open(sparse.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, kSize), 0);
    const std::string data(8192, 'd');
    ASSERT_EQ(pwrite(fd, data.data(), data.size(), 0), 8192);
    ASSERT_EQ(pwrite(fd, data.data(), 4096, kGiB / 2), 4096);
    ASSERT_EQ(pwrite(fd, "e", 1, kSize - 1), 1); // a data extent that reaches the end

    // The descriptor outlives the removal, so what was written can still be read.
    ASSERT_EQ(shredder().shredFile(sparse, &counter), kShredDone);
    EXPECT_FALSE(exists(sparse));
    EXPECT_FALSE(tp.log.contains("overwrite error"));
    EXPECT_EQ(1000000.0 - counter.load(), static_cast<double>(kSize));
    struct stat st {};
    ASSERT_EQ(fstat(fd, &st), 0);
    EXPECT_EQ(st.st_size, kGiB + 256);
    EXPECT_LT(st.st_blocks * 512, 1024 * 1024) << "holes were filled";
    const auto byteAt = [fd](off_t at) {
        unsigned char byte = 0;
        return pread(fd, &byte, 1, at) == 1 ? byte : -1;
    };
    for (off_t at : {off_t{0}, off_t{8191}, kGiB / 2, kGiB / 2 + 4095, kSize - 1, kGiB + 255})
        EXPECT_EQ(byteAt(at), 0xFF) << "at " << at;
    EXPECT_EQ(byteAt(kGiB / 4), 0) << "a hole reads as zeros";
    close(fd);
}

TEST_F(ShredderAdversarialTest, QuittingDuringTheOverwriteLeavesTheItemInTheTrashWithdrawn)
{
    writeFile(inTrash("film.mkv"), 3 * 1024 * 1024, 'f');
    makeFolder(inTrash("album"));
    writeFile(inTrash("album/photo"), 2 * 1024 * 1024, 'p');
    // Asked between the shredder's check of the stop flag and the first block written.
    tp.workers.requestQuit();

    EXPECT_EQ(shredder().shredFile(inTrash("film.mkv"), &counter), kShredDone);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("album"), &counter), kShredDone);
    // Both had their time-stamp names before the overwrite began, and nothing was written.
    auto left = posix::listDirectory(tp.trash());
    std::sort(left.begin(), left.end());
    ASSERT_EQ(left.size(), 2u);
    const bool folderFirst = S_ISDIR(posix::lstatPath(inTrash(left[0]))->st_mode);
    EXPECT_EQ(readFile(inTrash(left[folderFirst ? 1 : 0])), std::string(3 * 1024 * 1024, 'f'));
    EXPECT_EQ(readFile(inTrash(left[folderFirst ? 0 : 1] + "/photo")), std::string(2 * 1024 * 1024, 'p'));
    EXPECT_EQ(counter.load(), 1000000.0);
    EXPECT_EQ(tp.log.count("shredFile: overwrite of " + inTrash("film.mkv") + " interrupted; it stays in the trash"), 1);
    EXPECT_TRUE(alerts.shown().empty());
}

} // namespace
} // namespace bw::test
