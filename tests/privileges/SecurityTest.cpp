#include "privileges/Security.h"

#include "platform/Format.h"
#include "platform/posix/Files.h"
#include "tests/support/FakeLauncher.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::test {
namespace {

class SecurityTest : public ::testing::Test {
protected:
    SecurityTest()
    {
        tp.platform.launcher = &launcher;
        // An ordinary user must reach the trash inside the temporary home.
        chmod(tp.home.path().c_str(), 0755);
        chmod(tp.trash().c_str(), 0777);
        chmod(dir.path().c_str(), 0777);
    }
    std::string make(const std::string& name, uid_t owner, mode_t mode)
    {
        const std::string path = dir / name;
        writeFile(path, 1);
        chown(path.c_str(), owner, owner);
        chmod(path.c_str(), mode);
        return path;
    }
    std::string makeFolderOf(const std::string& name, uid_t owner, mode_t mode)
    {
        const std::string path = dir / name;
        makeFolder(path);
        chown(path.c_str(), owner, owner);
        chmod(path.c_str(), mode);
        return path;
    }
    std::string requestsText() const
    {
        std::string text;
        for (const auto& [kind, path] : launcher.requests())
            text += std::string(1, static_cast<char>(kind)) + ":" + posix::lastComponent(path) + " ";
        return text;
    }

    static std::string madeTrash(const TestPlatform& tp)
    {
        makeFolder(tp.trash());
        return tp.trash();
    }

    TestPlatform tp;
    TempDir dir{madeTrash(tp)};
    FakePrivilegedLauncher launcher;
};

TEST_F(SecurityTest, RepairsAreAskedOnlyWhereTheUserCannotDelete)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare files of another owner";
    const auto mine644 = make("mine644", kNobody, 0644);
    const auto root600 = make("root600", 0, 0600);
    // Root's shared folders that anyone may write and search: an owner that differs is no reason.
    const auto shared1777 = makeFolderOf("shared1777", 0, 01777);
    const auto shared3333 = makeFolderOf("shared3333", 0, 03333);
    const auto root755 = makeFolderOf("root755", 0, 0755);
    make("root755/file", 0, 0644);
    const auto root500 = makeFolderOf("root500", 0, 0500);
    make("root500/file", 0, 0644);
    // Empty, it goes with its parent's permission alone.
    const auto empty755 = makeFolderOf("empty755", 0, 0755);
    const std::string missing = dir / "missing";
    EXPECT_EXIT(
        {
            becomeNobody();
            Security security(tp.platform);
            Checks check;
            for (const auto& path : {mine644, root600, shared1777, shared3333, empty755})
                check.equal(security.folderEnabler(path), 0L, path);
            check.equal(tp.log.lines().size(), 0u, "nothing logged while nothing is needed");
            check.equal(launcher.dialogs(), 0, "no dialog while nothing is needed");

            // Writable but not by the user: what the user cannot remove in it is removed by
            // the helper, one run for each repair; nothing is handed over.
            check.equal(security.folderEnabler(root755), 0L, "root755 result");
            check.equal(tp.log.count(strprintf("***OriginalOwner=root(%s)***", root755.c_str())), 1, "owner line");
            check.equal(security.folderEnabler(root500), 0L, "root500 result");
            // Nothing to repair where nothing is: no dialog, no request.
            check.equal(security.folderEnabler(missing), static_cast<long>(ENOENT), "missing result");
            check.equal(requestsText(), std::string("r:root755 r:root500 "), "requests");
            check.equal(launcher.dialogs(), 2, "one dialog a repair");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SecurityTest, ARefusedFolderIsNotAskedAboutForAnHourUnlessTheUserAsks)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare files of another owner";
    const auto root500 = makeFolderOf("root500", 0, 0500);
    const auto tree = makeFolderOf("tree", kNobody, 0700);
    makeFolderOf("tree/a", 0, 0500);
    makeFolderOf("tree/b", 0, 0500);
    const auto other = makeFolderOf("other", 0, 0500);
    for (const char* folder : {"root500", "tree/a", "tree/b", "other"})
        make(std::string(folder) + "/file", 0, 0644);
    // Outside the trash nothing is ever asked for.
    const std::string outside = tp.home / "outside";
    makeFolder(outside);
    writeFile(outside + "/file", 1);
    chmod(outside.c_str(), 0500);
    EXPECT_EXIT(
        {
            becomeNobody();
            launcher.setGrants(false);
            Security security(tp.platform);
            Checks check;
            for (int tick = 0; tick < 11; ++tick)
                check.equal(security.folderEnabler(root500), -1L, "refused");
            check.equal(launcher.dialogs(), 1, "asked once for eleven ticks");
            check.equal(tp.log.count(strprintf("Security failed; %s is not asked about again for an hour",
                                               root500.c_str())),
                        1, "one refusal line");
            bool started = true;
            check.equal(security.allFilesEnabler(tree, &started), -1L, "tree refused");
            check.equal(security.allFilesEnabler(tree, &started), -1L, "tree refused again");
            check.equal(launcher.dialogs(), 2, "one dialog for the whole tree");
            check.equal(started, false, "nothing started");

            tp.clock.advance(Seconds(59 * 60));
            check.equal(security.folderEnabler(root500), -1L, "still quiet");
            check.equal(launcher.dialogs(), 2, "not asked within the hour");
            tp.clock.advance(Seconds(2 * 60));
            security.folderEnabler(root500);
            check.equal(launcher.dialogs(), 3, "asked after the hour");
            security.forgetRefusals();
            security.folderEnabler(root500);
            check.equal(launcher.dialogs(), 4, "asked at once when the user asks");

            check.equal(security.folderEnabler(outside), static_cast<long>(EPERM), "outside the trash");
            check.equal(launcher.dialogs(), 4, "no dialog outside the trash");

            // A repair that cannot be handed over counts as a refusal too.
            launcher.setGrants(true);
            launcher.setRequestError(EIO);
            check.equal(security.folderEnabler(other), static_cast<long>(EIO), "repair not handed over");
            check.equal(tp.log.count(strprintf("Permission repair error %d(%s); %s is not asked about again for an "
                                               "hour",
                                               EIO, strerror(EIO), other.c_str())),
                        1, "repair error line");
            check.equal(security.folderEnabler(other), -1L, "quiet after the failure");
            launcher.setRequestError(0);
            check.equal(requestsText(), std::string(), "no requests");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SecurityTest, AFailedRepairTellsTheUserOnceWhyAndAWorkingOneIsCounted)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare folders of another owner";
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
        makeFolderOf(name, 0, 0500);
        make(std::string(name) + "/file", 0, 0644);
    }
    EXPECT_EXIT(
        {
            becomeNobody();
            Security security(tp.platform);
            Checks check;
            const auto told = [&] {
                tp.mainLoop.runPosted();
                std::string text;
                for (const auto& [summary, body] : tp.notifier.shown)
                    text += body + "|";
                tp.notifier.shown.clear();
                return text;
            };
            launcher.setAnswer(Authorization::NoAgent);
            check.equal(security.folderEnabler(dir / "a"), -1L, "no agent");
            check.equal(security.folderEnabler(dir / "b"), -1L, "no agent again");
            launcher.setAnswer(Authorization::Dismissed);
            security.folderEnabler(dir / "c");
            launcher.setAnswer(Authorization::Granted);
            launcher.setReport({EIO, 0, 0});
            check.equal(security.folderEnabler(dir / "d"), static_cast<long>(EIO), "failed");
            check.equal(told(),
                        std::string("No authentication agent is running to ask for an administrator's password.|"
                                    "The administrator's authorization was refused.|"
                                    "The permission repair failed: Input/output error.|"),
                        "each cause once");

            // What the helper removed is taken off the item's figures, as the shredder's own
            // deletions are; a repair that worked lets a cause be told again.
            launcher.setReport({0, 2, 4096});
            std::atomic<double> counter{10000.0};
            bool started = false;
            check.equal(security.allFilesEnabler(dir / "e", &started, {false, &counter}), 0L, "repaired");
            check.equal(started, true, "started");
            check.equal(counter.load(), 5904.0, "counted");
            check.equal(requestsText(), std::string("r:d u:e "), "requests");
            launcher.setAnswer(Authorization::NoAgent);
            security.folderEnabler(dir / "f");
            check.equal(told(),
                        std::string("No authentication agent is running to ask for an administrator's password.|"),
                        "told again");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SecurityTest, RootsStickyFolderAsksOnlyForWhatIsNotTheUsers)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare files of another owner";
    // Anyone may write root's sticky folder, but only an entry's owner may remove the entry.
    const auto sticky = makeFolderOf("sticky", 0, 01777);
    make("sticky/mine", kNobody, 0600);
    makeFolderOf("sticky/minefolder", kNobody, 0700);
    const auto deeper = makeFolderOf("deeper", kNobody, 0700);
    makeFolderOf("deeper/sticky", 0, 01777);
    make("deeper/sticky/roots", 0, 0644);
    EXPECT_EXIT(
        {
            becomeNobody();
            Security security(tp.platform);
            Checks check;
            bool started = true;
            check.equal(security.allFilesEnabler(sticky, &started), 0L, "own entries");
            check.equal(started, false, "nothing needed for the user's own entries");
            check.equal(security.allFilesEnabler(deeper, &started), 0L, "root's entry");
            check.equal(started, true, "a repair for root's entry");
            check.equal(requestsText(), std::string("r:deeper "), "requests");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SecurityTest, TheUsersOwnUnreadableFoldersAreOpenedWithoutAPassword)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as an ordinary user";
    const auto own = makeFolderOf("own", kNobody, 0700);
    makeFolderOf("own/sub", kNobody, 0700);
    make("own/sub/file", kNobody, 0000);
    const auto aside = makeFolderOf("aside", kNobody, 0000);
    symlink(aside.c_str(), (own + "/link").c_str());
    chmod((own + "/sub").c_str(), 0000);
    chmod(own.c_str(), 0000);
    EXPECT_EXIT(
        {
            becomeNobody();
            Security security(tp.platform);
            Checks check;
            bool started = true;
            check.equal(security.allFilesEnabler(own, &started), 0L, "result");
            check.equal(started, false, "no repair started");
            check.equal(launcher.dialogs(), 0, "no password asked");
            check.equal(posix::lstatPath(own)->st_mode & 07777, 0700u, "own folder");
            check.equal(posix::lstatPath(own + "/sub")->st_mode & 07777, 0700u, "folder below, searchable");
            // A file is removed through its folder; a link is never followed.
            check.equal(posix::lstatPath(own + "/sub/file")->st_mode & 07777, 0u, "file left");
            check.equal(posix::lstatPath(aside)->st_mode & 07777, 0u, "folder behind a link left");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}
TEST_F(SecurityTest, NothingIsAskedOfTheUserForTheirOwnReadableTree)
{
    makeFolder(dir / "own/sub");
    writeFile(dir / "own/sub/file", 3);
    Security security(tp.platform);
    bool started = true;
    EXPECT_EQ(security.allFilesEnabler(dir / "own", &started), 0);
    EXPECT_FALSE(started);
    EXPECT_EQ(launcher.dialogs(), 0);
    EXPECT_TRUE(tp.log.lines().empty());
}

} // namespace
} // namespace bw::test
