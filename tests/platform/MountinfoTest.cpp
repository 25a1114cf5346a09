#include "platform/posix/MountinfoVolumeSource.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <fstream>

namespace bw::posix {
namespace {

const char* const kSample =
    "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
    "23 26 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw,size=123k\n"
    "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
    "40 30 0:37 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n"
    "41 26 8:17 / /media/ann/My\\040Disk rw,nosuid shared:7 master:1 - vfat /dev/sdb1 rw,uid=1000\n"
    "42 26 8:33 / /media/ann/Photos ro,nosuid shared:8 - ext4 /dev/sdc1 ro\n"
    "43 26 8:49 / /mnt/Backup rw - ext4 /dev/sdd1 ro,errors=remount-ro\n"
    "44 26 0:50 / /mnt/nas rw - nfs4 nas:/export rw\n"
    "45 26 0:51 / /mnt/share rw - cifs //srv/share rw\n"
    "46 26 0:52 / /home/ann/remote rw - fuse.sshfs ann@host:/ rw\n"
    "47 26 0:53 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "48 26 0:54 / /tmp rw - tmpfs tmpfs rw\n"
    "49 26 0:55 / /mnt/ram rw - tmpfs tmpfs rw\n"
    "50 26 0:56 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw\n"
    "51 26 0:57 / /tank rw - zfs tank rw\n"
    "52 26 8:65 / /media/ann/Tab\\011and\\134back rw - exfat /dev/sde1 rw\n"
    "garbage line\n";

TEST(MountinfoTest, ParsesDecodesAndKeepsOnlyLocalDisks)
{
    const auto entries = parseMountinfo(kSample);
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries[4].mountPoint, "/media/ann/My Disk");
    EXPECT_EQ(entries[4].fileSystemType, "vfat");
    EXPECT_EQ(entries[4].source, "/dev/sdb1");
    EXPECT_FALSE(entries[4].readOnly);
    EXPECT_TRUE(entries[5].readOnly);  // per-mount "ro"
    EXPECT_TRUE(entries[6].readOnly);  // super-block "ro" under a per-mount "rw"
    EXPECT_EQ(entries[15].mountPoint, "/media/ann/Tab\tand\\back");
    EXPECT_EQ(decodeMountPath("a\\04"), "a\\04"); // a cut escape stays as it is

    std::vector<std::string> local;
    for (const auto& e : entries)
        if (isLocalVolume(e))
            local.push_back(e.mountPoint);
    EXPECT_EQ(local, (std::vector<std::string>{"/", "/media/ann/My Disk", "/media/ann/Photos", "/mnt/Backup",
                                               "/mnt/ram", "/tank", "/media/ann/Tab\tand\\back"}));
}

TEST(MountinfoTest, SourceLeavesOutTheHomeVolumeMissingFoldersAndRepeats)
{
    test::TempDir dir;
    test::makeFolder(dir / "home");
    test::makeFolder(dir / "disk one");
    const std::string info = dir / "mountinfo";
    std::ofstream(info) << "26 1 254:0 / " << dir.path() << "/disk\\040one rw - ext4 /dev/sdx1 rw\n"
                        << "27 1 254:0 / /nonexistent/mount rw - ext4 /dev/sdy1 rw\n"
                        << "28 1 254:0 / " << dir.path() << " rw - ext4 /dev/sdz1 rw\n";

    // Every folder here sits on the file system of the home folder: none is watched.
    EXPECT_TRUE(MountinfoVolumeSource(currentTrashOwner(dir / "home"), info).volumePaths().empty());
    // Seen from a home elsewhere, the first mount of that file system is listed once.
    EXPECT_EQ(MountinfoVolumeSource(currentTrashOwner("/proc"), info).volumePaths(), (std::vector<std::string>{dir / "disk one"}));
    EXPECT_TRUE(MountinfoVolumeSource(currentTrashOwner("/proc"), dir / "missing").volumePaths().empty());
}

} // namespace
} // namespace bw::posix
