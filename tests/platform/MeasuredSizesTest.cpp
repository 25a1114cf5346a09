#include "platform/posix/Files.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace bw;
using namespace bw::posix;
using namespace bw::test;

namespace {

// Root items meant to trip a measurement shared by threads: a wide folder whose subfolders
// are handed between them, a chain deeper than a walk keeps open, links to big things
// outside, folders that cannot be listed or whose entries cannot be looked at, and (as
// root) a file system mounted inside an item.
void buildTrickyTrash(const TempDir& dir, bool mountInside)
{
    writeFile(dir / "outside", 1 << 20);
    makeFolder(dir / "trash");
    for (int d = 0; d < 40; ++d) {
        const std::string folder = dir / ("trash/wide/d" + std::to_string(d));
        makeFolder(folder + "/inner");
        for (int f = 0; f < 30; ++f)
            writeFile(folder + "/f" + std::to_string(f), static_cast<size_t>(d * 31 + f));
        writeFile(folder + "/inner/last", static_cast<size_t>(d));
    }
    std::string deep = dir / "trash/deep";
    for (int level = 0; level < 300; ++level) {
        deep += "/d";
        makeFolder(deep);
        if (level % 10 == 0)
            writeFile(deep + "/f", static_cast<size_t>(level));
        if (level % 50 == 0) // side folders, so that a thread may take over part of the chain
            for (int s = 0; s < 3; ++s)
                writeFile(deep + "/side" + std::to_string(s) + "x", 7);
    }
    makeFolder(dir / "trash/links/sub");
    symlink((dir / "outside").c_str(), (dir / "trash/links/to-file").c_str());
    symlink(dir.path().c_str(), (dir / "trash/links/sub/to-folder").c_str());
    link((dir / "trash/wide/d1/f1").c_str(), (dir / "trash/links/hard").c_str());
    symlink((dir / "outside").c_str(), (dir / "trash/dangling-root").c_str());
    writeFile(dir / "trash/plain", 12345);
    makeFolder(dir / "trash/locked/closed/hidden");
    writeFile(dir / "trash/locked/closed/hidden/big", 1 << 16);
    makeFolder(dir / "trash/locked/unsearchable/sub");
    writeFile(dir / "trash/locked/unsearchable/file", 99);
    chmod((dir / "trash/locked/closed").c_str(), 0);
    chmod((dir / "trash/locked/unsearchable").c_str(), 0400);
    if (mountInside) {
        makeFolder(dir / "trash/mounted/mnt");
        writeFile(dir / "trash/mounted/beside", 3);
        if (mount("tmpfs", (dir / "trash/mounted/mnt").c_str(), "tmpfs", 0, "size=4m") == 0)
            writeFile(dir / "trash/mounted/mnt/inner", 1 << 20);
    }
}

// The same sizes by one thread, by two (many times over: the hand-overs differ from run
// to run) and item by item; links, other file systems and closed folders kept out.
void checkSizes(const TempDir& dir, Checks& check)
{
    const int fd = open((dir / "trash").c_str(), O_RDONLY | O_DIRECTORY);
    const std::vector<std::string> names = listDirectoryAt(fd);
    int errorsAlone = 0;
    const auto alone = measuredSizes(fd, names, 1, [&](int) { ++errorsAlone; });
    check.equal(alone.size(), names.size(), "sizes");
    check.equal(errorsAlone > 0, true, "unreadable entries heard");
    for (int round = 0; round < 20; ++round) {
        int errors = 0;
        const auto shared = measuredSizes(fd, names, 2, [&](int) { ++errors; });
        check.equal(shared == alone, true, "two threads measure as one, round " + std::to_string(round));
        check.equal(errors, errorsAlone, "unreadable entries heard by two threads");
    }
    for (size_t i = 0; i < names.size(); ++i) {
        check.equal(measuredSize(fd, names[i].c_str()), alone[i], names[i] + " alone");
        if (names[i] == "links" || names[i] == "locked" || names[i] == "mounted")
            check.equal(alone[i] < (1 << 16), true, names[i] + " holds nothing from outside");
    }
    check.equal(measuredSizes(fd, {}, 2).empty(), true, "no items");
    close(fd);
}

} // namespace

TEST(MeasuredSizes, TwoThreadsMeasureWhatOneDoes)
{
    TempDir dir;
    const bool root = geteuid() == 0;
    buildTrickyTrash(dir, root);
    if (!root) {
        Checks check;
        checkSizes(dir, check);
        EXPECT_EXIT(check.finish(), ::testing::ExitedWithCode(0), "");
    } else {
        // Root reads any folder: the walk runs as an ordinary user, owner of the tree.
        chmod(dir.path().c_str(), 0755);
        std::filesystem::recursive_directory_iterator it(dir.path()), end;
        chown(dir.path().c_str(), kNobody, kNobody);
        for (; it != end; ++it)
            lchown(it->path().c_str(), kNobody, kNobody);
        EXPECT_EXIT(
            {
                becomeNobody();
                Checks check;
                checkSizes(dir, check);
                check.finish();
            },
            ::testing::ExitedWithCode(0), "");
        umount2((dir / "trash/mounted/mnt").c_str(), MNT_DETACH);
    }
    chmod((dir / "trash/locked/closed").c_str(), 0700);
    chmod((dir / "trash/locked/unsearchable").c_str(), 0700);
}
