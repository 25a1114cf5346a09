#include "tests/deletion/ShredderFixture.h"

#include "platform/posix/FileFlags.h"
#include "platform/posix/Files.h"
#include "tests/support/OrdinaryUser.h"

#include <algorithm>
#include <fcntl.h>
#include <linux/fs.h>
#include <regex>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace bw::test {
namespace {

bool isStampName(const std::string& name)
{
    static const std::regex stamp("^[0-9]+\\.[0-9]{6}$");
    return std::regex_match(name, stamp);
}

bool allFill(const std::string& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) == 0xFF; });
}

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

using ShredderFileTest = ShredderFixture;

TEST_F(ShredderFileTest, OverwritesInWholeBlocksRenamesAndLowersTheCounter)
{
    // Test mode keeps what would have been removed, so the bytes on disk can be read.
    setTestMode(true);
    const struct { const char* name; size_t size; size_t filled; } cases[] = {
        {"empty", 0, 0}, {"one", 1, 256}, {"block", 256, 256}, {"block+1", 257, 512}};
    for (const auto& c : cases) {
        writeFile(inTrash(c.name), c.size);
        const double before = counter.load();
        ASSERT_EQ(shredder().shredFolderOrFile(inTrash(c.name), &counter), kShredDone) << c.name;
        EXPECT_EQ(before - counter.load(), static_cast<double>(c.size)) << c.name;
        EXPECT_FALSE(exists(inTrash(c.name)));
        tp.clock.advance(Seconds(1));
    }
    const auto arrived = sorted(posix::listDirectory(dump()));
    ASSERT_EQ(arrived.size(), 4u);
    std::vector<size_t> sizes;
    for (const auto& name : arrived) {
        EXPECT_TRUE(isStampName(name)) << name;
        const std::string bytes = readFile(dump() + "/" + name);
        EXPECT_TRUE(allFill(bytes)) << name;
        sizes.push_back(bytes.size());
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{0, 256, 256, 512}));
    EXPECT_TRUE(alerts.shown().empty());

    // With the overwrite switched off the content arrives as it was.
    shredder().setShredderSwitch(false);
    shredder().setNoRenameSwitch(true);
    writeFile(inTrash("kept"), 300, 'k');
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("kept"), nullptr), kShredDone);
    EXPECT_EQ(readFile(dump() + "/kept"), std::string(300, 'k'));
}

TEST_F(ShredderFileTest, FolderIsEmptiedDepthFirstAndRemovedLast)
{
    const std::string item = inTrash("project");
    makeFolder(item + "/src/deep");
    writeFile(item + "/a.txt", 10);
    writeFile(item + "/src/b.c", 300);
    writeFile(item + "/src/deep/c.o", 4097);
    symlink("a.txt", (item + "/src/link").c_str());
    const double total = posix::measuredSize(item);

    setTestMode(true);
    ASSERT_EQ(shredder().shredFolderOrFile(item, &counter), kShredDone);
    EXPECT_FALSE(exists(item));
    EXPECT_EQ(1000000.0 - counter.load(), total);

    // Every entry arrived on its own under a fresh time-stamp name: three files, one link,
    // three folders, each folder already empty when it was moved.
    int files = 0, links = 0, folders = 0;
    for (const auto& name : posix::listDirectory(dump())) {
        EXPECT_TRUE(isStampName(name)) << name;
        const auto st = posix::lstatPath(dump() + "/" + name);
        ASSERT_TRUE(st);
        if (S_ISDIR(st->st_mode)) {
            ++folders;
            EXPECT_TRUE(posix::listDirectory(dump() + "/" + name).empty());
        } else if (S_ISLNK(st->st_mode)) {
            ++links;
        } else {
            ++files;
            EXPECT_TRUE(allFill(readFile(dump() + "/" + name)));
            EXPECT_EQ(st->st_size % 256, 0);
        }
    }
    EXPECT_EQ(files, 3);
    EXPECT_EQ(links, 1);
    EXPECT_EQ(folders, 3);

    // Outside test mode the tree simply goes.
    setTestMode(false);
    makeFolder(inTrash("again/x/y"));
    writeFile(inTrash("again/x/y/z"), 5);
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("again"), nullptr), kShredDone);
    EXPECT_FALSE(exists(inTrash("again")));
    EXPECT_EQ(posix::listDirectory(tp.trash()).size(), 0u);
}

TEST_F(ShredderFileTest, NoRenameAndDumpFolderClashes)
{
    setTestMode(true);
    shredder().setNoRenameSwitch(true);
    writeFile(inTrash("report.pdf"), 20);
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("report.pdf"), &counter), kShredDone);
    EXPECT_TRUE(exists(dump() + "/report.pdf"));

    // The same name again: the move into the dump folder fails and nothing is replaced.
    writeFile(inTrash("report.pdf"), 20, 'n');
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("report.pdf"), &counter), kShredMoveFailed);
    EXPECT_EQ(counter.load(), 1000000.0 - 20);
    EXPECT_TRUE(exists(inTrash("report.pdf")));
    EXPECT_EQ(readFile(dump() + "/report.pdf"), std::string(256, '\xFF'));
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.shown()[0].title, "TrashError");
    EXPECT_EQ(alerts.shown()[0].button, "Understand");
    EXPECT_EQ(alerts.shown()[0].text,
              "Error: FileMoveError\n\nCause: File exists\n\nFile: " + inTrash("report.pdf") +
                  "\n\nInfo: TrashErrorInfo");
    EXPECT_TRUE(tp.log.contains("err=2(" + inTrash("report.pdf") + ")"));

    // Outside test mode the entry is removed under its own name.
    setTestMode(false);
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("report.pdf"), nullptr), kShredDone);
    EXPECT_FALSE(exists(inTrash("report.pdf")));
}

TEST_F(ShredderFileTest, TakenTimeStampNameIsNeverReplaced)
{
    // The fake clock stands still: the first name tried is taken by another entry.
    writeFile(inTrash(stampNow()), 7, 's');
    writeFile(inTrash("victim"), 7);
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("victim"), &counter), kShredDone);
    EXPECT_FALSE(exists(inTrash("victim")));
    EXPECT_EQ(readFile(inTrash(stampNow())), std::string(7, 's'));

    // Two entries in a row while the clock stands still still get different names.
    setTestMode(true);
    writeFile(inTrash("one"), 1);
    writeFile(inTrash("two"), 1);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("one"), nullptr), kShredDone);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("two"), nullptr), kShredDone);
    EXPECT_EQ(posix::listDirectory(dump()).size(), 2u);
}

TEST_F(ShredderFileTest, StopRequestTouchesNothing)
{
    makeFolder(inTrash("tree/sub"));
    writeFile(inTrash("tree/sub/f"), 100, 'q');
    shredder().setShredBreak(true);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("tree"), &counter), kShredDone);
    EXPECT_EQ(shredder().shredFile(inTrash("tree/sub/f"), &counter), kShredDone);
    EXPECT_EQ(readFile(inTrash("tree/sub/f")), std::string(100, 'q'));
    EXPECT_EQ(counter.load(), 1000000.0);
}

TEST_F(ShredderFileTest, LinksAndHardLinksKeepWhatTheyReach)
{
    TempDir outside;
    writeFile(outside / "precious", 1000, 'p');
    makeFolder(outside / "folder");
    writeFile(outside / "folder/inner", 10, 'i');
    symlink((outside / "precious").c_str(), inTrash("to-file").c_str());
    symlink((outside / "folder").c_str(), inTrash("to-folder").c_str());
    ASSERT_EQ(link((outside / "precious").c_str(), inTrash("hard").c_str()), 0);

    for (const char* name : {"to-file", "to-folder", "hard"})
        ASSERT_EQ(shredder().shredFolderOrFile(inTrash(name), &counter), kShredDone) << name;
    EXPECT_TRUE(posix::listDirectory(tp.trash()).empty());
    EXPECT_EQ(readFile(outside / "precious"), std::string(1000, 'p'));
    EXPECT_EQ(readFile(outside / "folder/inner"), std::string(10, 'i'));
    EXPECT_EQ(posix::lstatPath(outside / "precious")->st_nlink, 1u);
}

// Sets or clears the immutable flag directly, whatever the links (FileFlags keeps a linked file's flag).
bool setImmutableFlag(const std::string& path, bool on)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    int flags = 0;
    bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        close(fd);
    return ok;
}

TEST_F(ShredderFileTest, HardLinkLeavesTheLockOfItsOtherNameAlone)
{
    TempDir outside;
    writeFile(outside / "locked", 100, 'l');
    ASSERT_EQ(link((outside / "locked").c_str(), inTrash("locked-link").c_str()), 0);
    if (!setImmutableFlag(outside / "locked", true))
        GTEST_SKIP() << "this file system or user cannot set the immutable flag";

    // A locked inode cannot lose a name: the shredder fails on it rather than unlock it.
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("locked-link"), &counter), kShredRenameFailed);
    const int outsideFd = posix::openDirectoryNoFollow(outside.path());
    EXPECT_TRUE(posix::isImmutableAt(outsideFd, "locked"));
    close(outsideFd);
    EXPECT_EQ(readFile(outside / "locked"), std::string(100, 'l'));
    EXPECT_TRUE(setImmutableFlag(outside / "locked", false)); // so the folders can go
}

TEST_F(ShredderFileTest, SpecialFilesAreRemovedWithoutBlocking)
{
    ASSERT_EQ(mkfifo(inTrash("pipe").c_str(), 0600), 0);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("pipe"), &counter), kShredDone);
    EXPECT_FALSE(exists(inTrash("pipe")));
}

// Overwritten, or only renamed and removed (then unlocked when refused), or only removed.
TEST_F(ShredderFileTest, LockedEntriesAreUnlockedWhateverTheSwitches)
{
    for (const auto& [overwrite, noRename] : {std::pair{true, false}, {false, false}, {false, true}}) {
        SCOPED_TRACE(std::string(overwrite ? "overwrite" : "no overwrite") + (noRename ? ", no rename" : ""));
        shredder().setShredderSwitch(overwrite);
        shredder().setNoRenameSwitch(noRename);
        makeFolder(inTrash("locked-folder"));
        writeFile(inTrash("locked-folder/locked-file"), 30);
        const int trashFd = posix::openDirectoryNoFollow(tp.trash());
        const int folderFd = posix::openDirectoryNoFollow(inTrash("locked-folder"));
        const bool locked =
            posix::setImmutableAt(folderFd, "locked-file") && posix::setImmutableAt(trashFd, "locked-folder");
        close(folderFd);
        close(trashFd);
        if (!locked)
            GTEST_SKIP() << "this file system or user cannot set the immutable flag";
        EXPECT_EQ(shredder().shredFolderOrFile(inTrash("locked-folder"), &counter), kShredDone);
        EXPECT_FALSE(exists(inTrash("locked-folder")));
    }
}

TEST_F(ShredderFileTest, FailuresAreLoggedAndShownWithThePathAsItIs)
{
    // An item reached through a link in the trash cannot be handled: the folder the link
    // points to is never entered, so the file there keeps its content and its name.
    makeFolder(tp.home / "outside");
    writeFile(tp.home / "outside/100%s %n %d\nline", 64, 'k');
    ASSERT_EQ(symlink((tp.home / "outside").c_str(), inTrash("link%s").c_str()), 0);
    const std::string odd = inTrash("link%s/100%s %n %d\nline");
    EXPECT_EQ(shredder().shredFolderOrFile(odd, &counter), kShredRenameFailed);
    shredder().setNoRenameSwitch(true);
    EXPECT_EQ(shredder().shredFile(odd, &counter), kShredRemoveFailed);
    EXPECT_EQ(counter.load(), 1000000.0);

    const auto shown = alerts.shown();
    ASSERT_EQ(shown.size(), 2u);
    // The line feed of the name is shown escaped: it cannot add a line to the alert.
    const std::string shownPath = inTrash("link%s/100%s %n %d\\nline");
    // The cause is the failing step's own: a folder on the way that is a link, not the rename.
    const std::string cause = "\n\nCause: Not a directory\n\nFile: ";
    EXPECT_EQ(shown[0].text, "Error: FileRenameError" + cause + shownPath + "\n\nInfo: TrashErrorInfo");
    EXPECT_EQ(shown[1].text, "Error: FileDeleteError" + cause + shownPath + "\n\nInfo: TrashErrorInfo");
    EXPECT_EQ(tp.log.count("err=4(" + odd + ")"), 1);
    EXPECT_EQ(tp.log.count("err=3(" + odd + ")"), 1);
    EXPECT_EQ(readFile(tp.home / "outside/100%s %n %d\nline"), std::string(64, 'k'));

    // Codes that only the alert knows.
    shredder().alertWithError(kShredWriteFailed, "/p");
    shredder().alertWithError(kShredResWriteFailed, "/p");
    EXPECT_EQ(alerts.shown()[2].text.substr(0, 21), "Error: FileWriteError");
    EXPECT_EQ(alerts.shown()[3].text.substr(0, 20), "Error: ResWriteError");

    // The trace line is written only while the Alt key is held.
    tp.keys.held = true;
    writeFile(inTrash("traced"), 1);
    shredder().shredFolderOrFile(inTrash("traced"), nullptr);
    EXPECT_TRUE(tp.log.contains("shredFile:" + inTrash("traced")));
}

TEST_F(ShredderFileTest, AMountedFileSystemIsToldAsTheCauseWhicheverStepItStops)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to mount a tmpfs";
    makeFolder(inTrash("stuck/inner"));
    makeFolder(inTrash("volume"));
    const TmpfsVolume inside(inTrash("stuck/inner"), "64k");
    const TmpfsVolume itself(inTrash("volume"), "64k");
    if (inside.path.empty() || itself.path.empty())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const auto busy = [](const std::string& path) {
        return "Error: FileBusyError\n\nCause: Device or resource busy\n\nFile: " + path + "\n\nInfo: TrashBusyInfo";
    };

    // The rename of the mount point inside the folder, of the item that is one itself, and,
    // without renames, the removal of the mount point: none of it is a matter of permissions.
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("stuck"), &counter), kShredRenameFailed);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("volume"), &counter), kShredRenameFailed);
    shredder().setNoRenameSwitch(true);
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("stuck"), &counter), kShredRemoveFailed);
    const auto shown = alerts.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, busy(inTrash("stuck/inner")));
    EXPECT_EQ(shown[1].text, busy(inTrash("volume")));
    EXPECT_EQ(shown[2].text, busy(inTrash("stuck/inner")));
    EXPECT_EQ(shown[0].title, "TrashError");
    EXPECT_EQ(sorted(posix::listDirectory(tp.trash())), (std::vector<std::string>{"stuck", "volume"}));
}

TEST_F(ShredderFileTest, ResourceForkIsOverwrittenWithTheData)
{
    writeFile(inTrash("mac-file"), 10);
    const std::string fork(300, 'r');
    if (setxattr(inTrash("mac-file").c_str(), "user.com.apple.ResourceFork", fork.data(), fork.size(), 0) != 0)
        GTEST_SKIP() << "no user extended attributes here";
    setTestMode(true);
    shredder().setNoRenameSwitch(true);
    ASSERT_EQ(shredder().shredFolderOrFile(inTrash("mac-file"), &counter), kShredDone);
    std::string value(1024, '\0');
    const ssize_t n = getxattr((dump() + "/mac-file").c_str(), "user.com.apple.ResourceFork", value.data(), value.size());
    ASSERT_EQ(n, 512);
    value.resize(512);
    EXPECT_TRUE(allFill(value));
    EXPECT_EQ(counter.load(), 1000000.0 - 10);
}

TEST_F(ShredderFileTest, TestModeMovesAcrossFileSystems)
{
    const char* other = "/dev/shm";
    struct stat shm {}, home {};
    if (stat(other, &shm) != 0 || stat(tp.home.path().c_str(), &home) != 0 || shm.st_dev == home.st_dev)
        GTEST_SKIP() << "no second file system at hand";
    TempDir volumeTrash(other);
    makeFolder(volumeTrash / "album/empty");
    writeFile(volumeTrash / "album/photo", 5000, 'j');
    symlink("photo", (volumeTrash / "album/alias").c_str());

    setTestMode(true);
    shredder().setNoRenameSwitch(true);
    shredder().setShredderSwitch(false);
    ASSERT_EQ(shredder().shredFolderOrFile(volumeTrash / "album", &counter), kShredDone);
    EXPECT_FALSE(exists(volumeTrash / "album"));
    EXPECT_EQ(readFile(dump() + "/photo"), std::string(5000, 'j'));
    EXPECT_TRUE(S_ISLNK(posix::lstatPath(dump() + "/alias")->st_mode));
    EXPECT_TRUE(S_ISDIR(posix::lstatPath(dump() + "/empty")->st_mode));
    EXPECT_TRUE(S_ISDIR(posix::lstatPath(dump() + "/album")->st_mode));

    // A clash in the dump folder across file systems leaves the original where it was.
    writeFile(volumeTrash / "photo", 10, 'c');
    EXPECT_EQ(shredder().shredFolderOrFile(volumeTrash / "photo", nullptr), kShredMoveFailed);
    EXPECT_EQ(readFile(volumeTrash / "photo"), std::string(10, 'c'));
    EXPECT_EQ(readFile(dump() + "/photo"), std::string(5000, 'j'));
}

TEST_F(ShredderFileTest, AnItemThatVanishedMeanwhileIsDoneWithoutAnAlert)
{
    // Emptied in the file manager between the listing and the shredder's turn.
    EXPECT_EQ(shredder().shredFolderOrFile(inTrash("gone"), &counter), kShredDone);
    shredder().setNoRenameSwitch(true);
    EXPECT_EQ(shredder().shredFile(inTrash("gone"), &counter), kShredDone);
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_EQ(counter.load(), 1000000.0);
    // A ".." step never leads the shredder out of the trash.
    writeFile(tp.home / "kept", 10, 'k');
    EXPECT_NE(shredder().shredFolderOrFile(tp.trash() + "/../kept", &counter), kShredDone);
    EXPECT_EQ(readFile(tp.home / "kept"), std::string(10, 'k'));
}

TEST_F(ShredderFileTest, TheUsersOwnReadOnlyFileIsOverwrittenBeforeItGoes)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to hand the trash to an unprivileged user";
    setTestMode(true); // the overwritten file lands in the dump folder, where it can be read
    writeFile(inTrash("readonly"), 300, 'r');
    for (const auto& path : {tp.home.path(), tp.trash(), inTrash("readonly"), tp.home / "Desktop"})
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(inTrash("readonly").c_str(), 0444), 0);
    const std::string stamp = stampNow();

    // As that user, who may not write the file until the shredder lets itself.
    const pid_t child = fork();
    if (child == 0) {
        if (setresgid(kNobody, kNobody, kNobody) != 0 || setresuid(kNobody, kNobody, kNobody) != 0)
            _exit(2);
        _exit(shredder().shredFolderOrFile(inTrash("readonly"), &counter) == kShredDone ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(dump() + "/" + stamp), std::string(512, '\xff'));
}

TEST_F(ShredderFileTest, AFolderThatCannotBeEmptiedKeepsItsName)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare folders the user cannot read";
    // Someone else's unreadable folder, one deeper inside a folder of the user's, and the
    // user's own folder with no permissions at all (as after a refused repair).
    makeFolder(inTrash("theirs"));
    writeFile(inTrash("theirs/secret"), 10);
    makeFolder(inTrash("outer/inner"));
    writeFile(inTrash("outer/inner/secret"), 10);
    makeFolder(inTrash("mine"));
    writeFile(inTrash("mine/file"), 10);
    for (const auto& path : {tp.home.path(), tp.trash(), inTrash("outer"), inTrash("mine"), inTrash("mine/file")})
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(inTrash("theirs").c_str(), 0700), 0);
    ASSERT_EQ(chmod(inTrash("outer/inner").c_str(), 0700), 0);
    ASSERT_EQ(chmod(inTrash("mine").c_str(), 0), 0);
    EXPECT_EXIT(
        {
            becomeNobody();
            Checks check;
            for (const char* item : {"theirs", "outer", "mine"})
                check.equal(shredder().shredFolderOrFile(inTrash(item), &counter), kShredRemoveFailed, item);
            for (const char* failed : {"theirs", "outer/inner", "mine"})
                check.equal(tp.log.count("err=3(" + inTrash(failed) + ")"), 1, std::string("log of ") + failed);
            check.equal(alerts.shown().size(), 3u, "alerts");
            check.equal(alerts.shown().empty() ? std::string() : alerts.shown()[0].text.substr(0, 22),
                        std::string("Error: FileDeleteError"), "alert text");
            check.equal(counter.load(), 1000000.0, "counter");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(sorted(posix::listDirectory(tp.trash())), (std::vector<std::string>{"mine", "outer", "theirs"}));
    EXPECT_EQ(posix::listDirectory(inTrash("outer")), std::vector<std::string>{"inner"});
    EXPECT_EQ(readFile(inTrash("theirs/secret")), std::string(10, 'x'));
    EXPECT_EQ(readFile(inTrash("mine/file")), std::string(10, 'x'));
}

} // namespace
} // namespace bw::test
