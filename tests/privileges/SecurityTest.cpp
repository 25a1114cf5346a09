#include "privileges/Security.h"

#include "platform/Format.h"
#include "platform/posix/Files.h"
#include "tests/support/FakeLauncher.h"
#include "tests/support/TestPlatform.h"

#include <cerrno>
#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::test {
namespace {

constexpr uid_t kNobody = 65534;

// The checks compare owners with the user who runs the program, so they run as an
// ordinary user: in a child that gives up root. Mismatches are written to standard error.
class Checks {
public:
    template <typename A, typename B>
    void equal(const A& actual, const B& expected, const std::string& what)
    {
        if (!(actual == expected)) {
            std::ostringstream line;
            line << what << ": got " << actual << ", expected " << expected << "\n";
            failures_ += line.str();
        }
    }
    [[noreturn]] void finish()
    {
        std::fputs(failures_.c_str(), stderr);
        std::fflush(stderr);
        _exit(failures_.empty() ? 0 : 1);
    }

private:
    std::string failures_;
};

void becomeNobody()
{
    if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0) {
        std::fputs("cannot become nobody\n", stderr);
        _exit(3);
    }
}

class SecurityTest : public ::testing::Test {
protected:
    SecurityTest()
    {
        tp.platform.launcher = &launcher;
        chmod(dir.path().c_str(), 0755);
    }
    std::string make(const std::string& name, uid_t owner, mode_t mode)
    {
        const std::string path = dir / name;
        writeFile(path, 1);
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

    TempDir dir;
    TestPlatform tp;
    FakePrivilegedLauncher launcher;
};

TEST_F(SecurityTest, RepairsAreAskedFromOwnerAndModeReadBeforeAnyRepair)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare files of another owner";
    const auto mine644 = make("mine644", kNobody, 0644);
    const auto mine444 = make("mine444", kNobody, 0444);
    const auto root600 = make("root600", 0, 0600);
    const auto root400 = make("root400", 0, 0400);
    const std::string missing = dir / "missing";
    EXPECT_EXIT(
        {
            becomeNobody();
            Security security(tp.platform);
            Checks check;
            check.equal(security.folderEnabler(mine644), 0L, "mine644 result");
            check.equal(tp.log.lines().size(), 0u, "mine644 logs");
            check.equal(launcher.dialogs(), 0, "no dialog while nothing is needed");

            check.equal(security.folderEnabler(mine444), 0L, "mine444 result");
            check.equal(tp.log.count(strprintf("***OriginalPermissions=124(%s)***", mine444.c_str())), 1, "444 line");
            check.equal(security.folderEnabler(root600), 0L, "root600 result");
            check.equal(tp.log.count(strprintf("***OriginalOwner=root(%s)***", root600.c_str())), 1, "owner line");
            check.equal(security.folderEnabler(root400), 0L, "root400 result");
            // Nothing to repair where nothing is: no dialog, no request.
            check.equal(security.folderEnabler(missing), static_cast<long>(ENOENT), "missing result");
            check.equal(tp.log.count(strprintf("***OriginalOwner=(null)(%s)***", missing.c_str())), 0, "missing owner");
            check.equal(requestsText(), std::string("p:mine444 o:root600 o:root400 p:root400 "), "requests");
            check.equal(launcher.dialogs(), 1, "one dialog for all");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SecurityTest, RefusalGivesMinusOneAndTheNextRepairAsksAgain)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare files of another owner";
    const auto root600 = make("root600", 0, 0600);
    const auto mine400 = make("mine400", kNobody, 0400);
    make("root400", 0, 0400);
    makeFolder(dir / "folder");
    chown((dir / "folder").c_str(), kNobody, kNobody);
    make("folder/needs", 0, 0600);
    make("folder/fine", kNobody, 0600);
    // The result of a whole tree is that of the entry checked last.
    const auto listed = posix::listDirectory(dir / "folder");
    const long lastResult = listed.back() == "fine" ? 0 : -1;
    EXPECT_EXIT(
        {
            becomeNobody();
            launcher.setGrants(false);
            Security security(tp.platform);
            Checks check;
            check.equal(security.folderEnabler(root600), -1L, "owner refused");
            check.equal(tp.log.count("Security failed"), 1, "owner failure line");
            check.equal(security.folderEnabler(mine400), -1L, "mode refused");
            check.equal(tp.log.count("Security failed2"), 1, "mode failure line");
            check.equal(launcher.dialogs(), 2, "asked again");
            bool started = true;
            check.equal(security.allFilesEnabler(dir / "folder", &started), lastResult, "tree result");
            check.equal(started, false, "nothing started");
            check.equal(launcher.requests().size(), 0u, "no requests");

            // A repair that cannot be handed over ends the check: no permission repair follows.
            launcher.setGrants(true);
            launcher.setRequestError(EIO);
            check.equal(security.folderEnabler(dir / "root400"), static_cast<long>(EIO), "owner not handed over");
            check.equal(tp.log.count(strprintf("folderEnabler: chown rror %d", EIO)), 1, "chown error line");
            check.equal(tp.log.count(strprintf("***OriginalPermissions=100(%s)***", (dir / "root400").c_str())), 0,
                        "no permission check after it");
            check.equal(security.folderEnabler(mine400), static_cast<long>(EIO), "mode not handed over");
            check.equal(tp.log.count(strprintf("folderEnabler: comod error %d", EIO)), 1, "chmod error line");
            launcher.setRequestError(0);

            check.equal(security.allFilesEnabler(dir / "folder", &started), 0L, "tree granted");
            check.equal(started, true, "repair started");
            check.equal(requestsText(), std::string("o:needs "), "only the entry that needs it");
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
