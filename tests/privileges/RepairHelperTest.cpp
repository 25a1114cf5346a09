#include "platform/PrivilegedLauncher.h"
#include "platform/posix/PkexecLauncher.h"
#include "tests/support/TestPlatform.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace bw::test {
namespace {

constexpr uid_t kNobody = 65534;

struct stat statOf(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

// Runs the helper as pkexec would, with PKEXEC_UID naming the user; the requests go in on
// standard input, which is then closed, and the helper is waited for.
struct HelperRun {
    int status = -1;
    std::string output;
    std::string errors; // standard error
};

HelperRun runHelper(const std::string& input, const char* uid = "65534")
{
    int in[2], out[2];
    pipe(in);
    pipe(out);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // Standard error goes to a file, so that neither pipe can fill while the other is read.
    char errorsPath[] = "/tmp/brindlewick-repair-stderr-XXXXXX";
    const int errors = mkstemp(errorsPath);
    posix_spawn_file_actions_adddup2(&actions, errors, 2);
    std::string env = std::string("PKEXEC_UID=") + (uid ? uid : "");
    char* envp[] = {env.data(), nullptr};
    std::string helper = BRINDLEWICK_TEST_REPAIR_HELPER;
    char* argv[] = {helper.data(), nullptr};
    pid_t pid = -1;
    HelperRun run;
    if (posix_spawn(&pid, helper.c_str(), &actions, nullptr, argv, uid ? envp : environ) != 0) {
        close(errors);
        unlink(errorsPath);
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    write(in[1], input.data(), input.size());
    close(in[1]);
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    waitpid(pid, &run.status, 0);
    close(errors);
    run.errors = readFile(errorsPath);
    unlink(errorsPath);
    return run;
}

// A volume of its own (tmpfs), so that "<mount>/.Trashes" is a real volume trash.
class RepairHelperTest : public ::testing::Test {
protected:
    RepairHelperTest()
    {
        volume = dir / "volume";
        makeFolder(volume);
        mounted = geteuid() == 0 && mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=16m") == 0;
        trash = volume + "/.Trashes/65534";
    }
    ~RepairHelperTest() override
    {
        if (mounted)
            umount2(volume.c_str(), MNT_DETACH);
    }
    void makeRootFile(const std::string& path, mode_t mode)
    {
        writeFile(path, 10);
        chmod(path.c_str(), mode);
    }

    TempDir dir;
    std::string volume;
    std::string trash;
    bool mounted = false;
};

TEST_F(RepairHelperTest, RepairsInsideTheTrashWithoutFollowingLinks)
{
    if (!mounted)
        GTEST_SKIP() << "needs root to mount a volume";
    const std::string outside = volume + "/outside";
    makeRootFile(outside, 0600);
    const std::string item = trash + "/item";
    makeFolder(item + "/sub");
    makeRootFile(item + "/sub/file", 0400);
    makeRootFile(item + "/line\nfeed \xff", 0000);
    symlink(outside.c_str(), (item + "/sub/link").c_str());
    makeRootFile(item + "/shared", 0600);
    link((item + "/shared").c_str(), (volume + "/elsewhere").c_str());
    // The user's own file with a second name outside the trash: its mode is that name's too.
    makeRootFile(item + "/own-shared", 0400);
    chown((item + "/own-shared").c_str(), kNobody, 0);
    link((item + "/own-shared").c_str(), (volume + "/own-elsewhere").c_str());
    chmod((item + "/sub").c_str(), 0500);
    // A folder without the search bit could not be emptied: it gets u+rwx, not u+rw.
    makeFolder(item + "/locked");
    chmod((item + "/locked").c_str(), 0000);

    const auto run = runHelper(encodeRepairRequest(RepairKind::Owner, item) +
                               encodeRepairRequest(RepairKind::Permissions, item));
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_EQ(run.output, "ready\n");

    for (const char* name : {"", "/sub", "/sub/file", "/line\nfeed \xff"}) {
        const auto st = statOf(item + name);
        EXPECT_EQ(st.st_uid, kNobody) << name;
        EXPECT_EQ(st.st_gid, 65534u) << name; // no "admin" group here: the user's own group
        EXPECT_EQ(st.st_mode & 0600, 0600u) << name;
    }
    EXPECT_EQ(statOf(item + "/sub").st_mode & 07777, 0700u);
    EXPECT_EQ(statOf(item + "/locked").st_mode & 07777, 0700u);
    EXPECT_EQ(statOf(item + "/sub/file").st_mode & 07777, 0600u);
    // The link itself changed hands; what it points to did not.
    EXPECT_EQ(statOf(item + "/sub/link").st_uid, kNobody);
    EXPECT_EQ(statOf(outside).st_uid, 0u);
    EXPECT_EQ(statOf(outside).st_mode & 07777, 0600u);
    // Another user's file with a second link elsewhere stays as it was.
    EXPECT_EQ(statOf(volume + "/elsewhere").st_uid, 0u);
    EXPECT_EQ(statOf(volume + "/own-elsewhere").st_gid, 0u);
    EXPECT_EQ(statOf(volume + "/own-elsewhere").st_mode & 07777, 0400u);
}

TEST_F(RepairHelperTest, RefusesPathsOutsideTheTrashOrThroughLinks)
{
    if (!mounted)
        GTEST_SKIP() << "needs root to mount a volume";
    const std::string outside = volume + "/private";
    makeFolder(outside);
    makeRootFile(outside + "/secret", 0600);
    makeFolder(trash);
    symlink(outside.c_str(), (trash + "/link").c_str());
    const std::string home = dir / "not-a-trash";
    makeFolder(home);
    makeRootFile(home + "/f", 0600);

    const auto run = runHelper(encodeRepairRequest(RepairKind::Owner, outside) +
                               encodeRepairRequest(RepairKind::Owner, trash + "/link/secret") +
                               encodeRepairRequest(RepairKind::Owner, trash + "/link") +
                               encodeRepairRequest(RepairKind::Permissions, trash + "/../../private/secret") +
                               encodeRepairRequest(RepairKind::Owner, home + "/f"));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_EQ(statOf(outside).st_uid, 0u);
    EXPECT_EQ(statOf(outside + "/secret").st_uid, 0u);
    EXPECT_EQ(statOf(trash + "/link").st_uid, 0u);
    EXPECT_EQ(statOf(home + "/f").st_uid, 0u);

    // Input it cannot read ends it; so does a missing user.
    EXPECT_EQ(WEXITSTATUS(runHelper("x5 /tmp\n").status), 1);
    EXPECT_EQ(WEXITSTATUS(runHelper("o99 /tmp\n").status), 1);
    EXPECT_EQ(WEXITSTATUS(runHelper("", nullptr).status), 2);
}

TEST_F(RepairHelperTest, AcceptsOnlyTheUsersOwnTrashFoldersAndTheSharedRootAlone)
{
    if (!mounted)
        GTEST_SKIP() << "needs root to mount a volume";
    const std::string trashes = volume + "/.Trashes";
    // Root's per-user folder (another local account), by uid and by name, and one of an
    // account this machine does not know (a disk from elsewhere).
    for (const char* folder : {"/65534/mine", "/0/secret", "/root/secret", "/54321/foreign"})
        makeFolder(trashes + folder);
    chmod(trashes.c_str(), 0700);
    for (const char* folder : {"/.Trash-65534/files/a", "/.Trash-65534/other/b", "/.Trash-0/files/c",
                               "/.Trash/65534/info/d", "/.Trash/0/files/e"})
        makeFolder(volume + folder);

    std::string requests;
    for (const char* path : {"/.Trashes", "/.Trashes/0", "/.Trashes/0/secret", "/.Trashes/root/secret",
                             "/.Trashes/54321/foreign", "/.Trash-65534/files/a", "/.Trash-65534/other/b",
                             "/.Trash-0/files/c", "/.Trash/65534/info/d", "/.Trash/0/files/e", "/.Trash-65534"})
        requests += encodeRepairRequest(RepairKind::Owner, volume + path);
    const auto run = runHelper(requests);
    EXPECT_EQ(WEXITSTATUS(run.status), 0);

    // The shared root is never given away nor changed below itself: it is opened to all.
    EXPECT_EQ(statOf(trashes).st_uid, 0u);
    EXPECT_EQ(statOf(trashes).st_mode & 07777, 01733u);
    for (const char* path : {"/.Trashes/65534", "/.Trashes/65534/mine", "/.Trashes/0", "/.Trashes/0/secret",
                             "/.Trashes/root/secret", "/.Trash-65534/other/b", "/.Trash-0/files/c",
                             "/.Trash/0/files/e", "/.Trash-65534"})
        EXPECT_EQ(statOf(volume + path).st_uid, 0u) << path;
    for (const char* path : {"/.Trashes/54321/foreign", "/.Trash-65534/files/a", "/.Trash/65534/info/d"})
        EXPECT_EQ(statOf(volume + path).st_uid, kNobody) << path;
}

TEST_F(RepairHelperTest, RefusalsAreOneLineWhateverThePathHolds)
{
    if (!mounted)
        GTEST_SKIP() << "needs root to mount a volume";
    // A line feed in a name must not start a line of its own in the log.
    const std::string outside = volume + "/x\nbrindlewick-repair: forged";
    const std::string item = trash + "/item";
    makeFolder(item);
    makeRootFile(item + "/two\nlinks\x01", 0600);
    link((item + "/two\nlinks\x01").c_str(), (volume + "/elsewhere").c_str());

    const auto run = runHelper(encodeRepairRequest(RepairKind::Owner, outside) +
                               encodeRepairRequest(RepairKind::Owner, item));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_EQ(run.errors, "brindlewick-repair: refused " + volume +
                              "/x\\nbrindlewick-repair: forged: outside the user's own trash folders\n"
                              "brindlewick-repair: refused two\\nlinks\\x01: a file with several links\n");
}

// Stand-ins for pkexec: one that grants (starting the helper as pkexec would), and ones
// that end as pkexec does when the dialog is dismissed or the user is not authorized.
std::string writeScript(const TempDir& dir, const std::string& name, const std::string& body)
{
    const std::string path = dir / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

TEST_F(RepairHelperTest, LauncherAsksUntilGrantedAndHandsRepairsOver)
{
    if (!mounted)
        GTEST_SKIP() << "needs root to mount a volume";
    TestPlatform tp;
    const std::string asked = dir / "asked";
    for (int code : {126, 127}) {
        posix::PkexecLauncher refusing(tp.log, BRINDLEWICK_TEST_REPAIR_HELPER,
                                       writeScript(dir, "refuse", "echo >> '" + asked + "'; exit " + std::to_string(code)));
        EXPECT_FALSE(refusing.authorize());
        EXPECT_FALSE(refusing.authorize());
        EXPECT_FALSE(refusing.isAuthorized());
        EXPECT_NE(refusing.requestRepair(RepairKind::Owner, trash), 0);
    }
    EXPECT_EQ(readFile(asked), "\n\n\n\n");
    posix::PkexecLauncher missing(tp.log, BRINDLEWICK_TEST_REPAIR_HELPER, dir / "no-pkexec");
    EXPECT_FALSE(missing.authorize());

    const std::string item = trash + "/item";
    makeFolder(item);
    makeRootFile(item + "/file", 0000);
    posix::PkexecLauncher granting(tp.log, BRINDLEWICK_TEST_REPAIR_HELPER,
                                   writeScript(dir, "grant", "PKEXEC_UID=65534 exec \"$@\""));
    ASSERT_TRUE(granting.authorize());
    EXPECT_TRUE(granting.isAuthorized());
    EXPECT_EQ(granting.requestRepair(RepairKind::Owner, item), 0);
    EXPECT_EQ(granting.requestRepair(RepairKind::Permissions, item), 0);
    EXPECT_TRUE(granting.authorize()); // held: no second start
    // The program does not wait for the repair; the test does, for at most ten seconds.
    for (int i = 0; i < 1000 && (statOf(item + "/file").st_mode & 0600) != 0600; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(statOf(item + "/file").st_uid, kNobody);
    EXPECT_EQ(statOf(item + "/file").st_mode & 0600, 0600u);
    granting.revoke();
    EXPECT_FALSE(granting.isAuthorized());
}

} // namespace
} // namespace bw::test
