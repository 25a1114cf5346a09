#include "app/Controllers.h"
#include "platform/Format.h"
#include "platform/posix/Files.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bw::test {
namespace {

double lstatSize(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return static_cast<double>(st.st_size);
}

std::vector<std::string> sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// External wired to the other controllers, over volumes that are folders of a temporary
// directory listed by a fake volume source.
class ExternalTest : public ::testing::Test {
protected:
    ExternalTest()
    {
        Controllers::registerDefaults(tp.defaults);
        controllers = std::make_unique<Controllers>(tp.platform);
        controllers->preferences.awakeFromNib();
    }

    External& external() { return controllers->external; }

    // A folder standing for a mounted volume, with the per-user folders given.
    std::string volume(const std::string& name, const std::vector<std::string>& users = {})
    {
        const std::string path = disks / name;
        makeFolder(path);
        for (const auto& user : users)
            makeFolder(path + "/.Trashes/" + user);
        return path;
    }

    ~ExternalTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    TestPlatform tp;
    TempDir disks;
    FakeVolumeSource& volumes = tp.volumes;
    std::unique_ptr<Controllers> controllers;
};

TEST_F(ExternalTest, ListNamesAndDriveNumbersFollowTheMountedVolumes)
{
    EXPECT_EQ(external().drives(), 0);
    EXPECT_FALSE(external().isExist());
    EXPECT_TRUE(external().trashPaths().empty());
    EXPECT_TRUE(external().volumeNames().empty());

    volumes.set({"/Volumes/Data", "/mnt/Backup", "/media/user/My Disk"});
    EXPECT_EQ(external().volumeNames(), (std::vector<std::string>{"Data", "Backup", "My Disk"}));
    EXPECT_EQ(external().trashPathWithDrive(0), "/Volumes/Data/.Trashes");
    EXPECT_EQ(external().driveNumberAtPath("/mnt/Backup"), 1);
    EXPECT_EQ(external().driveNumberAtPath("/"), -1);
    EXPECT_EQ(external().driveNumberAtPath("/volumes/data"), -1);

    // Per-drive questions about a number just past the list answer 0 and NO.
    external().setTrashStatus(kDeleting, "/media/user/My Disk");
    external().setTrashSizeing(true, "/media/user/My Disk");
    EXPECT_EQ(external().trashStatusWithDrive(2), kDeleting);
    EXPECT_TRUE(external().trashSizeingWithDrive(2));
    EXPECT_EQ(external().trashStatusWithDrive(3), 0);
    EXPECT_FALSE(external().trashSizeingWithDrive(3));

    // Unmounting the first volume moves the others down one position.
    volumes.unmount("/Volumes/Data");
    EXPECT_EQ(external().driveNumberAtPath("/mnt/Backup"), 0);
    EXPECT_EQ(external().trashStatusWithDrive(1), kDeleting);

    // A path never seen reads as nothing set.
    EXPECT_EQ(external().lastTrashCountAtPath("/nowhere"), 0);
    EXPECT_EQ(external().lastFreeSizeAtPath("/nowhere"), 0.0);
    EXPECT_FALSE(external().shredModeAtPath("/nowhere"));
    EXPECT_FALSE(external().trashSizeingAtPath("/nowhere"));
}

TEST_F(ExternalTest, DriveCheckSeesCountsAndTheInstalledAndRemovedVolume)
{
    const std::string a = volume("A", {"501"}), b = volume("B"), c = volume("C"), d = volume("D");
    volumes.set({a});
    controllers->awakeFromNib();
    tp.workers.waitForAll();

    volumes.set({a, b, c}); // two mounts between two checks
    EXPECT_EQ(external().checkDriveChanged(), 1);
    EXPECT_EQ(external().installedVolumePath(), b);
    external().installTrashSizeThreadAtPath(external().installedVolumePath());
    tp.workers.waitForAll();
    EXPECT_EQ(external().checkDriveChanged(), 0);
    EXPECT_EQ(external().installedVolumePath(), c); // never handled by a drive check

    volumes.set({a, c, d}); // one unmounted, another mounted: the count stays
    EXPECT_EQ(external().checkDriveChanged(), 0);

    volumes.set({c, d});
    EXPECT_EQ(external().checkDriveChanged(), -1);
    const auto removed = external().removedVolumePath();
    ASSERT_TRUE(removed);
    EXPECT_TRUE(*removed == a || *removed == b);
    external().removeTrashSizeAtPath(removed);
    external().removeTrashSizeAtPath(external().removedVolumePath());
    EXPECT_FALSE(external().removedVolumePath());
    EXPECT_FALSE(external().trashFilesAtPath(a));
    external().removeTrashSizeAtPath(std::nullopt);
    external().installTrashSizeThreadAtPath(std::nullopt);
}

TEST_F(ExternalTest, FullAndIncrementalMeasurementOfOneUsersFolder)
{
    const std::string data = volume("Data", {"501"});
    const std::string user = data + "/.Trashes/501";
    writeFile(user + "/report.pdf", 2000);
    makeFolder(user + "/photos");
    writeFile(user + "/photos/a", 1000);
    writeFile(user + "/photos/b", 3000);
    volumes.set({data});

    external().initTrashDataAtPath(data);
    const double photos = lstatSize(user + "/photos") + 4000;
    EXPECT_EQ(*external().trashFilesAtPath(data), (TrashFiles{{"501/report.pdf", 2000}, {"501/photos", photos}}));
    EXPECT_EQ(external().trashSizeWithPath(data), 2000 + photos);
    EXPECT_EQ(external().trashFileCountWithPath(data), 2);
    EXPECT_EQ(sorted(external().rootArrayWithPath(data)), (std::vector<std::string>{"501/photos", "501/report.pdf"}));
    EXPECT_EQ(external().lastTrashCountAtPath(data), 2);
    EXPECT_EQ(external().trashStatusWithDrive(0), kStandingBy);
    EXPECT_FALSE(external().trashSizeingAtPath(data));

    // Only names are compared: what grows inside a known item is not measured again.
    writeFile(user + "/photos/c", 5000);
    writeFile(user + "/notes.txt", 300);
    unlink((user + "/report.pdf").c_str());
    external().renewTrashSizeAtPath(data);
    EXPECT_EQ(external().trashSizeWithPath(data), photos + 300);
    EXPECT_EQ(*external().trashFilesAtPath(data), (TrashFiles{{"501/notes.txt", 300}, {"501/photos", photos}}));

    // The shredder lowers the counter in place as it removes an item; the next
    // measurement does not take the item off a second time.
    std::atomic<double>* counter = external().trashSizePtrAtPath(data);
    ASSERT_NE(counter, nullptr);
    unlink((user + "/notes.txt").c_str());
    counter->fetch_sub(300);
    external().renewTrashSizeAtPath(data);
    EXPECT_EQ(external().trashSizeWithPath(data), photos);

    // A full measurement drops what left and adds what grew.
    external().initTrashSizeAtPath(data);
    EXPECT_EQ(external().trashSizeWithPath(data), photos + 5000);
    EXPECT_EQ(external().trashFilesAtPath(data)->size(), 1u);
}

TEST_F(ExternalTest, VolumeWithoutTrashesAndTrashFoldersThatAreLinks)
{
    const std::string bare = volume("Bare");
    const std::string linked = volume("Linked");
    const std::string crafted = volume("Crafted", {"501"});
    const std::string outside = volume("Outside", {"501", "502"});
    writeFile(outside + "/.Trashes/501/precious", 4000);
    writeFile(outside + "/.Trashes/502/precious", 4000);
    writeFile(crafted + "/.Trashes/501/own", 10);
    ASSERT_EQ(symlink((outside + "/.Trashes").c_str(), (linked + "/.Trashes").c_str()), 0);
    ASSERT_EQ(symlink((outside + "/.Trashes/502").c_str(), (crafted + "/.Trashes/502").c_str()), 0);
    volumes.set({bare, linked, crafted});

    for (const auto& v : {bare, linked, crafted})
        external().initTrashDataAtPath(v);

    EXPECT_EQ(external().trashSizeWithPath(bare), 0.0);
    EXPECT_EQ(external().trashFileCountWithPath(bare), 0);
    ASSERT_TRUE(external().trashFilesAtPath(bare)); // measured: the volume is installed
    EXPECT_TRUE(external().trashFilesAtPath(bare)->empty());

    EXPECT_EQ(external().trashSizeWithPath(linked), 0.0);
    EXPECT_TRUE(external().rootArrayWithPath(linked).empty());
    EXPECT_TRUE(tp.log.contains("is a symbolic link"));
    // Neither the missing folder nor the link is handed to the permission repair.
    EXPECT_TRUE(tp.launcher.requests().empty());

    EXPECT_EQ(external().rootArrayWithPath(crafted), (std::vector<std::string>{"501/own"}));
    EXPECT_EQ(external().trashSizeWithPath(crafted), 10.0);
    volumes.set({crafted});
    const TrashWatch watch = external().watchedFolders();
    EXPECT_EQ(watch.contents, (std::vector<std::string>{crafted + "/.Trashes/501"}));
    EXPECT_NE(std::find(watch.parents.begin(), watch.parents.end(), WatchedParent{crafted + "/.Trashes", ""}),
              watch.parents.end());
}

TEST_F(ExternalTest, AVolumeOfManyForeignTrashesIsWatchedInPartTheUsersOwnFirst)
{
    const std::string own = std::to_string(geteuid());
    std::vector<std::string> foreign;
    for (uid_t uid = 60000; uid < 60300; ++uid)
        if (!getpwuid(uid)) // a disk from elsewhere: uids that are no account here
            foreign.push_back(std::to_string(uid));
    ASSERT_GT(foreign.size(), External::kWatchedPerVolume);
    // On a tmpfs (root only) the listing follows the order of creation, one way or the
    // other: the user's own folder is made where it is listed last, beyond the bound.
    const ScratchVolume scratch(disks / "Crafted");
    const std::string crafted = volume("Crafted", {"a", "b"});
    const bool newestFirst = posix::listDirectory(crafted + "/.Trashes").front() == "b";
    for (const char* probe : {"a", "b"})
        rmdir((crafted + "/.Trashes/" + probe).c_str());
    if (newestFirst)
        makeFolder(crafted + "/.Trashes/" + own);
    for (const auto& user : foreign)
        makeFolder(crafted + "/.Trashes/" + user);
    if (!newestFirst)
        makeFolder(crafted + "/.Trashes/" + own);
    if (scratch.mounted()) {
        ASSERT_EQ(posix::listDirectory(crafted + "/.Trashes").back(), own);
    }
    volumes.set({crafted});

    for (int call = 0; call < 2; ++call) {
        const TrashWatch watch = external().watchedFolders();
        EXPECT_EQ(watch.contents.size(), External::kWatchedPerVolume);
        EXPECT_NE(std::find(watch.contents.begin(), watch.contents.end(), crafted + "/.Trashes/" + own),
                  watch.contents.end());
    }
    EXPECT_EQ(tp.log.count(strprintf("Volume trash at %s has more than %zu folders; the rest are looked at by the "
                                     "monitor timer",
                                     crafted.c_str(), External::kWatchedPerVolume)),
              1);
}

TEST_F(ExternalTest, ASharedTrashIsRepairedBeforeAFullMeasurementOnlyWhenTheUserCannotWriteIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare a folder of another owner";
    // A real volume root: the repair touches only trash folders at one.
    ScratchVolume scratch(disks / "Data");
    ASSERT_TRUE(scratch.mounted());
    const std::string data = volume("Data", {"501"});
    chmod(disks.path().c_str(), 0755);
    ASSERT_EQ(chmod((data + "/.Trashes").c_str(), 0755), 0); // root's: an ordinary user cannot write it
    volumes.set({data});
    EXPECT_EXIT(
        {
            becomeNobody();
            Checks check;
            external().renewTrashSizeAtPath(data);
            check.equal(tp.launcher.requests().size(), 0u, "requests after the incremental measurement");
            external().initTrashSizeAtPath(data);
            check.equal(tp.launcher.requests().size(), 1u, "requests after the full measurement");
            check.equal(tp.launcher.requests().back().second, data + "/.Trashes", "repaired folder");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
    // Another account's shared folder is that account's to open: no password is asked for.
    ASSERT_EQ(chown((data + "/.Trashes").c_str(), 1, 1), 0);
    EXPECT_EXIT(
        {
            becomeNobody();
            Checks check;
            external().initTrashSizeAtPath(data);
            check.equal(tp.launcher.dialogs(), 0, "dialogs for another account's folder");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
    // A user who may write it is asked for nothing, whoever owns it.
    ASSERT_EQ(chown((data + "/.Trashes").c_str(), kNobody, kNobody), 0);
    external().initTrashSizeAtPath(data);
    EXPECT_TRUE(tp.launcher.requests().empty());
}

TEST_F(ExternalTest, CountersFollowTheirVolumesAcrossUnmounts)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(volume("V" + std::to_string(i), {"0"}));
        writeFile(paths.back() + "/.Trashes/0/item", static_cast<size_t>(100 * (i + 1)));
    }
    volumes.set(paths);
    for (const auto& p : paths)
        external().initTrashSizeAtPath(p);
    std::atomic<double>* third = external().trashSizePtrAtPath(paths[2]);

    volumes.unmount(paths[0]);
    EXPECT_EQ(external().trashSizeWithPath(paths[1]), 200.0);
    EXPECT_EQ(external().trashSizeWithPath(paths[2]), 300.0);
    EXPECT_EQ(external().trashSizePtrAtPath(paths[2]), third);
    EXPECT_EQ(external().allTrashSize(), 500.0);

    // A newly mounted volume starts from nothing, not from the departed volume's figure.
    const std::string fresh = volume("Fresh");
    volumes.mount(fresh);
    EXPECT_EQ(external().trashSizeWithPath(fresh), 0.0);
    external().setTrashSize(42.0, fresh);
    EXPECT_EQ(external().trashSizeWithPath(fresh), 42.0);
    EXPECT_EQ(external().trashSizeWithPath(paths[1]), 200.0);
}

TEST_F(ExternalTest, OnlyTheFirst32VolumesAreCounted)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 32; ++i)
        paths.push_back("/mnt/disk" + std::to_string(i));
    const std::string last = volume("Last", {"501"});
    writeFile(last + "/.Trashes/501/x", 700);
    paths.push_back(last);
    volumes.set(paths);

    external().initTrashDataAtPath(last);
    EXPECT_EQ(external().trashSizeWithPath(last), 0.0);
    EXPECT_EQ(external().trashSizePtrAtPath(last), nullptr);
    external().setTrashSize(5.0, last);
    EXPECT_EQ(external().trashSizeWithPath(last), 0.0);
    EXPECT_EQ(external().lastTrashCountAtPath(last), 1);
    external().setShredMode(true, last);
    EXPECT_TRUE(external().shredModeAtPath(last));
    EXPECT_EQ(external().trashFilesAtPath(last)->size(), 1u);

    // Once an earlier volume goes, the 33rd is counted, with its own figure.
    for (int i = 0; i < 32; ++i)
        external().setTrashSize(1000.0 + i, paths[static_cast<size_t>(i)]);
    volumes.unmount(paths[5]);
    EXPECT_EQ(external().trashSizeWithPath(last), 0.0);
    external().initTrashSizeAtPath(last);
    EXPECT_EQ(external().trashSizeWithPath(last), 700.0);
    EXPECT_EQ(external().trashSizeWithPath(paths[31]), 1031.0);
}

TEST_F(ExternalTest, ChangeChecksKeepBaselinesPerVolumeAndCheckEveryVolume)
{
    const std::string a = volume("A", {"501"}), b = volume("B", {"501"});
    volumes.set({a, b});
    tp.space.setFor(a, 1000000000.0, 10000000000.0);
    tp.space.setFor(b, 1000000000.0, 10000000000.0);
    EXPECT_EQ(external().miniSizeWithPath(a), 100000001.0);

    EXPECT_TRUE(external().checkAllFreeSizeChange()); // first look: baselines of 0
    EXPECT_EQ(external().lastFreeSizeAtPath(b), 10000000000.0);
    tp.space.setFor(a, 1000000000.0, 10005000000.0);
    EXPECT_FALSE(external().checkFreeSizeChangeAtPath(a)); // exactly 5,000,000
    tp.space.setFor(a, 1000000000.0, 10005000001.0);
    tp.space.setFor(b, 1000000000.0, 9994999999.0);
    EXPECT_TRUE(external().checkAllFreeSizeChange());
    EXPECT_EQ(external().lastFreeSizeAtPath(a), 10005000001.0);
    EXPECT_EQ(external().lastFreeSizeAtPath(b), 9994999999.0);

    writeFile(a + "/.Trashes/501/x", 1);
    writeFile(b + "/.Trashes/501/y", 1);
    EXPECT_TRUE(external().checkAllTrashCountChange());
    EXPECT_EQ(external().lastTrashCountAtPath(a), 1);
    EXPECT_EQ(external().lastTrashCountAtPath(b), 1);
    EXPECT_FALSE(external().checkAllTrashCountChange());

    external().setAllShredMode(true);
    const std::string later = volume("Later");
    volumes.mount(later);
    EXPECT_TRUE(external().shredModeAtPath(a));
    EXPECT_FALSE(external().shredModeAtPath(later));
}

// Root can read any folder, so the unreadable folder is looked at by an unprivileged
// child process, which reports what it saw through a pipe.
std::string seenAsNobody(External& external, const std::string& volumePath)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)
            _exit(2);
        external.initTrashSizeAtPath(volumePath);
        std::string report;
        for (const auto& item : sorted(external.rootArrayWithPath(volumePath)))
            report += item + ",";
        report += std::to_string(static_cast<long>(external.trashSizeWithPath(volumePath)));
        const ssize_t written = write(fds[1], report.data(), report.size());
        _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 3);
    }
    close(fds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return report;
}

TEST_F(ExternalTest, EveryReadableUsersFolderIsCounted)
{
    const std::string data = volume("Data", {"501", "502"});
    writeFile(data + "/.Trashes/501/mine", 100);
    writeFile(data + "/.Trashes/502/theirs", 200);
    volumes.set({data});

    if (geteuid() == 0) {
        chmod(disks.path().c_str(), 0755);
        chmod((data + "/.Trashes/502").c_str(), 0);
        EXPECT_EQ(seenAsNobody(external(), data), "501/mine,100");
        chmod((data + "/.Trashes/502").c_str(), 0755);
    }

    external().initTrashSizeAtPath(data);
    EXPECT_EQ(external().trashSizeWithPath(data), 300.0);
    writeFile(data + "/.Trashes/501/new1", 10);
    writeFile(data + "/.Trashes/502/new2", 20);
    external().renewTrashSizeAtPath(data);
    EXPECT_EQ(external().trashSizeWithPath(data), 330.0);
    EXPECT_EQ(external().trashFilesAtPath(data)->at("502/new2"), 20.0);
}

TEST_F(ExternalTest, MeasurementsOfOneVolumeWaitForEachOther)
{
    const std::string data = volume("Data", {"501"});
    writeFile(data + "/.Trashes/501/x", 10);
    volumes.set({data});
    external().setTrashSizeing(true, data); // as if a measurement ran
    external().initTrashSizeThreadAtPath(data);
    while (tp.clock.slept() < 2.0)
        std::this_thread::yield();
    EXPECT_EQ(external().trashSizeWithPath(data), 0.0);
    EXPECT_TRUE(external().trashSizeing());
    external().setTrashSizeing(false, data);
    tp.workers.waitForAll();
    EXPECT_EQ(external().trashSizeWithPath(data), 10.0);
    EXPECT_FALSE(external().trashSizeing());
}

// A data folder on a file system of its own: its trash is that volume's, measured and
// emptied against that volume's free space, not the home's.
TEST_F(ExternalTest, AHomeTrashOnAnotherVolumeIsThatVolumesTrash)
{
    const std::string data = tp.home / ".local/share";
    ScratchVolume scratch(data);
    if (!scratch.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    makeFolder(data + "/Trash/files");
    writeFile(data + "/Trash/files/photo", 300);
    makeFolder(data + "/Trash/info");
    volumes.set({data});
    external().initTrashSizeAtPath(data);
    EXPECT_EQ(external().trashSizeWithPath(data), 300.0);
    EXPECT_EQ(external().rootArrayWithPath(data), (std::vector<std::string>{data + "/Trash/files/photo"}));
    EXPECT_TRUE(controllers->internal.rootArray().empty());

    // Without that volume among the watched ones, the home trash keeps it.
    volumes.set({});
    EXPECT_EQ(controllers->internal.rootArray(), (std::vector<std::string>{data + "/Trash/files/photo"}));
}

} // namespace
} // namespace bw::test
