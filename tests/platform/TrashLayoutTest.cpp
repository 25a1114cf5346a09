#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::test {
namespace {

using posix::freedesktopLayout;

TimePoint localTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm parts {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(mktime(&parts));
}

TimePoint changeTime(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return posix::timePointOf(st.st_ctim);
}

TEST(TrashInfo, OnlyAWellFormedDeletionDateInItsGroupReads)
{
    EXPECT_EQ(posix::deletionDateOf("[Trash Info]\nPath=/a\nDeletionDate=2020-01-02T03:04:05\n"),
              localTime(2020, 1, 2, 3, 4, 5));
    EXPECT_EQ(posix::deletionDateOf("[Trash Info]\r\nDeletionDate=2021-12-31T23:59:59\r\n"),
              localTime(2021, 12, 31, 23, 59, 59));
    for (const char* text : {"", "DeletionDate=2020-01-02T03:04:05", "[Other]\nDeletionDate=2020-01-02T03:04:05",
                             "[Trash Info]\nDeletionDate=2020-13-02T03:04:05", "[Trash Info]\nDeletionDate=yesterday",
                             "[Trash Info]\nDeletionDate=2020-01-02"})
        EXPECT_FALSE(posix::deletionDateOf(text)) << text;
}

TEST(TrashInfo, ADeletedFolderLeavesOnlyItsOwnDirectorySizesLine)
{
    const std::string text = "4096 1700000000 photos\n8192 1700000001 my%20dir\n12 1700000002 my dir2\n";
    EXPECT_EQ(posix::withoutDirectorySize(text, "my dir"), "4096 1700000000 photos\n12 1700000002 my dir2\n");
    EXPECT_EQ(posix::withoutDirectorySize(text, "absent"), text);
    EXPECT_EQ(posix::withoutDirectorySize("1 2 last", "last"), "");
}

class FreedesktopTrash : public ::testing::Test {
protected:
    FreedesktopTrash()
    {
        makeFolder(files);
        makeFolder(info);
    }
    ItemFolder folder() const { return freedesktopLayout().homeFolders(owner).at(0); }
    void describe(const std::string& name, const std::string& text) const
    {
        writeFile(files + "/" + name, 10);
        FILE* out = std::fopen((info + "/" + name + ".trashinfo").c_str(), "w");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }

    TempDir home;
    TrashOwner owner = currentTrashOwner(home.path());
    std::string files = home / ".local/share/Trash/files";
    std::string info = home / ".local/share/Trash/info";
    CapturingLog log;
};

TEST_F(FreedesktopTrash, AnItemIsDatedByItsDescriptionWhichIsNeverTrustedBlindly)
{
    describe("dated", "[Trash Info]\nPath=/x\nDeletionDate=2020-01-02T03:04:05\n");
    describe("garbage", std::string("\0\xff[Trash Info\n\x01", 16));
    setModificationTime(info + "/garbage.trashinfo", 1600000000);
    describe("huge", "[Trash Info]\nDeletionDate=2020-01-02T03:04:05\n" + std::string(70 * 1024, '#'));
    setModificationTime(info + "/huge.trashinfo", 1500000000);
    writeFile(files + "/fifo", 1);
    ASSERT_EQ(mkfifo((info + "/fifo.trashinfo").c_str(), 0600), 0); // must not stall the reader
    writeFile(files + "/linked", 1);
    writeFile(home / "elsewhere.trashinfo", 0);
    describe("target", "[Trash Info]\nDeletionDate=2001-01-01T00:00:00\n");
    ASSERT_EQ(symlink((info + "/target.trashinfo").c_str(), (info + "/linked.trashinfo").c_str()), 0);
    writeFile(files + "/bare", 1);

    const auto dates = freedesktopLayout().itemDates(folder(), {"dated", "garbage", "huge", "fifo", "linked", "bare", "gone"});
    EXPECT_EQ(dates[0], localTime(2020, 1, 2, 3, 4, 5));
    EXPECT_EQ(dates[1], std::chrono::system_clock::from_time_t(1600000000));
    EXPECT_EQ(dates[2], std::chrono::system_clock::from_time_t(1500000000));
    EXPECT_EQ(dates[3], changeTime(files + "/fifo"));
    EXPECT_EQ(dates[4], changeTime(files + "/linked")); // a linked description is not read
    EXPECT_EQ(dates[5], changeTime(files + "/bare"));
    EXPECT_FALSE(dates[6]);
}

TEST_F(FreedesktopTrash, AGoneItemTakesItsDescriptionAndItsLineOnlyAndOrphansGoWhenEmptied)
{
    describe("my dir", "[Trash Info]\nDeletionDate=2020-01-02T03:04:05\n");
    describe("kept", "[Trash Info]\nDeletionDate=2020-01-02T03:04:05\n");
    const std::string sizes = home / ".local/share/Trash/directorysizes";
    writeFile(sizes, 0);
    FILE* out = std::fopen(sizes.c_str(), "w");
    std::fputs("10 1700000000 kept\n20 1700000001 my%20dir\n", out);
    std::fclose(out);
    chmod(sizes.c_str(), 0640);

    ASSERT_EQ(unlink((files + "/my dir").c_str()), 0);
    freedesktopLayout().removeCompanions(folder(), "my dir", log);
    EXPECT_FALSE(exists(info + "/my dir.trashinfo"));
    EXPECT_TRUE(exists(info + "/kept.trashinfo"));
    EXPECT_EQ(readFile(sizes), "10 1700000000 kept\n");
    struct stat st {};
    ASSERT_EQ(stat(sizes.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A description is an orphan only after ten minutes without its item: a slow copying
    // trasher writes it before the item arrives.
    writeFile(info + "/ghost.trashinfo", 5);
    setModificationTime(info + "/ghost.trashinfo", time(nullptr) - 11 * 60);
    writeFile(info + "/arriving.trashinfo", 5);
    setModificationTime(info + "/arriving.trashinfo", time(nullptr) - 9 * 60);
    makeFolder(info + "/folder.trashinfo");
    freedesktopLayout().removeOrphans(folder(), log);
    EXPECT_FALSE(exists(info + "/ghost.trashinfo"));
    EXPECT_TRUE(exists(info + "/arriving.trashinfo"));
    EXPECT_TRUE(exists(info + "/kept.trashinfo"));
    EXPECT_TRUE(exists(info + "/folder.trashinfo"));
    EXPECT_TRUE(log.lines().empty());
}

// Which folders of a volume are the user's trash, and which are no one's business of ours.
TEST(TrashLayouts, OnlyTheUsersOwnFoldersAndThoseOfNoAccountHereAreTrashes)
{
    TempDir volume;
    const TrashOwner owner = currentTrashOwner(volume / "home");
    const std::string uid = std::to_string(owner.uid);
    const auto refusalOf = [&](const std::string& files) {
        for (const auto& folder : freedesktopLayout().volumeFolders(volume.path(), owner))
            if (folder.path == files)
                return folder.refusal.empty() ? std::string("accepted") : folder.refusal;
        return std::string("not listed");
    };

    makeFolder(volume / (".Trash/" + uid + "/files"));
    chmod((volume / ".Trash").c_str(), 0777);
    EXPECT_NE(refusalOf(volume / (".Trash/" + uid + "/files")).find("sticky"), std::string::npos);
    chmod((volume / ".Trash").c_str(), 01777);
    EXPECT_EQ(refusalOf(volume / (".Trash/" + uid + "/files")), "accepted");

    makeFolder(volume / "elsewhere/files");
    ASSERT_EQ(symlink((volume / "elsewhere").c_str(), (volume / (".Trash-" + uid)).c_str()), 0);
    EXPECT_NE(refusalOf(volume / (".Trash-" + uid + "/files")).find("symbolic link"), std::string::npos);
    makeFolder(volume / ".Trash-54321/files");
    EXPECT_EQ(refusalOf(volume / ".Trash-54321/files"), "not listed");
    if (geteuid() == 0) {
        makeFolder(volume / (".Trash/" + uid + "/info"));
        ASSERT_EQ(chown((volume / (".Trash/" + uid + "/info")).c_str(), 65534, 65534), 0);
        EXPECT_NE(refusalOf(volume / (".Trash/" + uid + "/files")).find("not owned"), std::string::npos);
    }

    // The shared classic folder: the user's own, and one of a disk from elsewhere, but never
    // another account's of this machine (uid 1 is a system account everywhere).
    for (const char* user : {"1", "54321"})
        makeFolder(volume / (std::string(".Trashes/") + user));
    makeFolder(volume / (".Trashes/" + uid));
    std::vector<std::string> listed;
    for (const auto& folder : posix::classicLayout().volumeFolders(volume.path(), owner))
        listed.push_back(posix::lastComponent(folder.path) + (folder.isOwn ? "+own" : ""));
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> expected{"54321", uid + "+own"};
    if (owner.uid == 1)
        expected = {"1+own", "54321"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(posix::classicLayout().isRepairableFolder(volume / ".Trashes/1", volume.path(), owner), owner.uid == 1);
    EXPECT_TRUE(posix::classicLayout().isRepairableFolder(volume / ".Trashes/54321", volume.path(), owner));
    EXPECT_FALSE(posix::classicLayout().isRepairableFolder(volume / ".Trashes", volume.path(), owner));
}

} // namespace
} // namespace bw::test
