#include "platform/PrivilegedLauncher.h"
#include "platform/posix/Files.h"
#include "platform/posix/PkexecLauncher.h"
#include "tests/support/TestPlatform.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <gtest/gtest.h>
#include <map>
#include <pwd.h>
#include <sstream>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

extern char** environ;

namespace bw::test {
namespace {

struct stat statOf(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

// Runs a command to its end; its exit status, or -1.
int runCommand(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A local account made for the test (with a group of its own) and removed after it. Other
// tests may change the account files at the same time: a locked file is tried again.
class LocalAccount {
public:
    LocalAccount(const std::string& name, const std::string& home) : name_(name)
    {
        for (int attempt = 0; attempt < 100 && !made_; ++attempt) {
            made_ = runCommand({"useradd", "-M", "-U", "-d", home, "-s", "/usr/sbin/nologin", name}) == 0;
            if (!made_)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (const struct passwd* pw = made_ ? getpwnam(name.c_str()) : nullptr)
            uid_ = pw->pw_uid;
    }
    ~LocalAccount()
    {
        for (int attempt = 0; attempt < 100 && made_; ++attempt) {
            made_ = runCommand({"userdel", name_}) != 0 && getpwnam(name_.c_str()) != nullptr;
            if (made_)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    LocalAccount(const LocalAccount&) = delete;
    LocalAccount& operator=(const LocalAccount&) = delete;
    bool made() const { return made_ && uid_ != 0; }
    uid_t uid() const { return uid_; }
    std::string uidText() const { return std::to_string(uid_); }

private:
    std::string name_;
    bool made_ = false;
    uid_t uid_ = 0;
};

uid_t unusedUid()
{
    uid_t uid = 54321;
    while (getpwuid(uid))
        ++uid;
    return uid;
}

// Everything under a folder as it is: owner, group, mode and content of each entry.
using Snapshot = std::map<std::string, std::tuple<uid_t, gid_t, mode_t, std::string>>;
Snapshot* snapshotBeingTaken = nullptr;

Snapshot snapshotOf(const std::string& folder)
{
    Snapshot snapshot;
    snapshotBeingTaken = &snapshot;
    nftw(
        folder.c_str(),
        [](const char* path, const struct stat* st, int, struct FTW*) {
            std::string content;
            if (S_ISREG(st->st_mode))
                content = readFile(path);
            else if (S_ISLNK(st->st_mode)) {
                char target[4096];
                const ssize_t n = readlink(path, target, sizeof target);
                content.assign(target, n > 0 ? static_cast<size_t>(n) : 0);
            }
            (*snapshotBeingTaken)[path] = {st->st_uid, st->st_gid, st->st_mode, content};
            return 0;
        },
        64, FTW_PHYS);
    snapshotBeingTaken = nullptr;
    return snapshot;
}

// What one run of the helper said: its notes and its report.
struct HelperRun {
    int status = -1;
    std::string output;
    std::string errors; // standard error
    RepairReport report;
    bool reported = false;
};

// Runs the helper as pkexec would, with PKEXEC_UID naming the user; the input goes in on
// standard input, which is then closed, and the helper is waited for.
HelperRun runHelper(const std::string& input, const std::string* uid)
{
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
        return {};
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
    std::string env = "PKEXEC_UID=" + (uid ? *uid : std::string());
    char* envp[] = {env.data(), nullptr};
    std::string helper = BRINDLEWICK_TEST_REPAIR_HELPER;
    char* argv[] = {helper.data(), nullptr};
    pid_t pid = -1;
    HelperRun run;
    const int spawned = posix_spawn(&pid, helper.c_str(), &actions, nullptr, argv, uid ? envp : environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (spawned == 0) {
        if (write(in[1], input.data(), input.size()) < 0)
            run.errors = "input not written";
        close(in[1]);
        char buffer[256];
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
            run.output.append(buffer, static_cast<size_t>(n));
        waitpid(pid, &run.status, 0);
    } else {
        close(in[1]);
    }
    close(out[0]);
    close(errors);
    run.errors += readFile(errorsPath);
    unlink(errorsPath);
    unsigned long long entries = 0;
    const auto done = run.output.rfind("done ");
    run.reported = done != std::string::npos && std::sscanf(run.output.c_str() + done, "done %d %llu %lf",
                                                            &run.report.error, &entries, &run.report.bytes) == 3;
    run.report.entries = entries;
    return run;
}

// Two local accounts made by the test: the one who asks for repairs, and another; a uid that
// is no account (a disk from elsewhere); and two volumes of their own (tmpfs) in a mount
// namespace of the test's own, so that no other test's volume is ever seen or touched.
class RepairHelperTest : public ::testing::Test {
protected:
    RepairHelperTest()
    {
        if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return;
        volume = dir / "volume";
        second = dir / "second";
        makeFolder(volume);
        makeFolder(second);
        mounted = mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=16m") == 0 &&
                  mount("tmpfs", second.c_str(), "tmpfs", 0, "size=4m") == 0;
        const std::string tag = std::to_string(getpid());
        user.emplace("bwrepair" + tag + "a", volume + "/home-a");
        other.emplace("bwrepair" + tag + "b", volume + "/home-b");
        ready = mounted && user->made() && other->made();
        if (!ready)
            return;
        home = volume + "/home-a";
        makeOwned(home, user->uid(), 0755);
        makeOwned(volume + "/home-b", other->uid(), 0700);
    }
    ~RepairHelperTest() override
    {
        user.reset();
        other.reset();
        if (mounted) {
            umount2(volume.c_str(), MNT_DETACH);
            umount2(second.c_str(), MNT_DETACH);
        }
    }

    // A folder of the given owner and mode, with the folders above it made as root's.
    static void makeOwned(const std::string& path, uid_t owner, mode_t mode)
    {
        makeFolder(path);
        chown(path.c_str(), owner, owner);
        chmod(path.c_str(), mode);
    }
    // Gives the folders of `relative` below `top` to `owner`, the first one down to the last.
    static void chownChain(const std::string& top, const std::string& relative, uid_t owner)
    {
        std::string path = top;
        std::istringstream parts(relative);
        for (std::string part; std::getline(parts, part, '/');)
            if (!part.empty())
                chown((path += "/" + part).c_str(), owner, owner);
    }
    static void makeFileOwned(const std::string& path, uid_t owner, mode_t mode, const std::string& content = "data")
    {
        std::ofstream(path) << content;
        chown(path.c_str(), owner, owner);
        chmod(path.c_str(), mode);
    }
    HelperRun run(RepairKind kind, const std::string& path) const
    {
        const std::string uid = user->uidText();
        return runHelper(encodeRepairRequest(kind, path), &uid);
    }

    TempDir dir;
    std::string volume;
    std::string second;
    std::string home;
    bool mounted = false;
    bool ready = false;
    std::optional<LocalAccount> user;  // the one who asks
    std::optional<LocalAccount> other; // another account of this machine
    uid_t stranger = unusedUid();      // no account of this machine
};

#define SKIP_UNLESS_READY()                                                                                            \
    if (!ready)                                                                                                        \
    GTEST_SKIP() << "needs root to mount volumes and make accounts"

TEST_F(RepairHelperTest, AnotherAccountsTrashFoldersAreRefusedAndLeftAsTheyWere)
{
    SKIP_UNLESS_READY();
    const uid_t b = other->uid();
    const std::string a = user->uidText();
    // The other account's items where the user's trash folders would be: ".Trash-<user>"
    // owned by the other, ".Trash/<user>" owned by the other, and a ".Trashes" per-user folder
    // with no account's name but the other's owner; a per-user folder named by the other
    // account though owned by no account; and a shared ".Trash" without its sticky bit.
    makeOwned(volume + "/.Trash-" + a + "/files/item/sub", b, 0700);
    chownChain(volume, ".Trash-" + a + "/files/item", b);
    makeOwned(volume + "/.Trash", 0, 01777);
    makeOwned(volume + "/.Trash/" + a + "/files/item/sub", b, 0700);
    chownChain(volume + "/.Trash", a + "/files/item", b);
    makeOwned(volume + "/.Trashes", 0, 01777);
    makeOwned(volume + "/.Trashes/photos/item/sub", b, 0700);
    chownChain(volume + "/.Trashes", "photos/item", b);
    makeOwned(volume + "/.Trashes/" + other->uidText() + "/item/sub", stranger, 0700);
    chownChain(volume + "/.Trashes", other->uidText() + "/item", stranger);
    makeOwned(second + "/.Trash", 0, 0777);
    makeOwned(second + "/.Trash/" + a + "/files/item/sub", user->uid(), 0700);
    chownChain(second + "/.Trash", a + "/files", user->uid());
    chown((second + "/.Trash/" + a + "/files/item").c_str(), b, b);
    const std::vector<std::string> items{volume + "/.Trash-" + a + "/files/item", volume + "/.Trash/" + a + "/files/item",
                                         volume + "/.Trashes/photos/item",
                                         volume + "/.Trashes/" + other->uidText() + "/item",
                                         second + "/.Trash/" + a + "/files/item"};
    for (const auto& item : items)
        makeFileOwned(item + "/sub/letter", b, 0600, "the other's own words");
    const auto before = snapshotOf(volume);
    const auto beforeSecond = snapshotOf(second);

    for (const auto& item : items) {
        for (const RepairKind kind : {RepairKind::Remove, RepairKind::OpenSharedRoot}) {
            const auto helper = run(kind, item);
            EXPECT_EQ(WEXITSTATUS(helper.status), 0) << item;
            ASSERT_TRUE(helper.reported) << helper.output;
            EXPECT_EQ(helper.report.error, EPERM) << item;
            EXPECT_EQ(helper.report.entries, 0u) << item;
            EXPECT_NE(helper.output.find("note refused " + item), std::string::npos) << helper.output;
        }
    }
    EXPECT_EQ(snapshotOf(volume), before);
    EXPECT_EQ(snapshotOf(second), beforeSecond);
}

TEST_F(RepairHelperTest, NothingIsHandedOverToTheUser)
{
    SKIP_UNLESS_READY();
    // Root's private folder renamed to "~/.Trash" by the user, and a root-only copy of a
    // password file moved into the user's own trash; root's folder in that trash as well.
    makeOwned(home + "/.Trash", 0, 0700);
    makeFileOwned(home + "/.Trash/secret", 0, 0600, "root's secret");
    const std::string files = home + "/.local/share/Trash/files";
    makeOwned(home + "/.local/share/Trash/files", user->uid(), 0700);
    for (const char* folder : {"/.local", "/.local/share", "/.local/share/Trash"})
        chown((home + folder).c_str(), user->uid(), user->uid());
    makeFileOwned(files + "/shadow", 0, 0600, "root:$y$j9T$secret:19000:0:99999:7:::\n");
    const auto before = snapshotOf(volume);

    for (const auto& [kind, path] : std::vector<std::pair<RepairKind, std::string>>{
             {RepairKind::Remove, home + "/.Trash/secret"},
             {RepairKind::Remove, home + "/.Trash"},
             {RepairKind::OpenSharedRoot, home + "/.Trash"},
             {RepairKind::Remove, files},
             {RepairKind::OpenSharedRoot, files + "/shadow"}}) {
        const auto helper = run(kind, path);
        ASSERT_TRUE(helper.reported) << helper.output;
        EXPECT_EQ(helper.report.error, EPERM) << path;
    }
    // The user may remove the copy itself: the helper has nothing to do there.
    const auto helper = run(RepairKind::Remove, files + "/shadow");
    ASSERT_TRUE(helper.reported) << helper.output;
    EXPECT_EQ(helper.report.error, 0);
    EXPECT_EQ(helper.report.entries, 0u);
    EXPECT_EQ(snapshotOf(volume), before);
}

TEST_F(RepairHelperTest, RemovesOnlyWhatTheUserCannotInsideTheTrashWithoutFollowingLinks)
{
    SKIP_UNLESS_READY();
    const uid_t a = user->uid();
    const std::string trash = volume + "/.Trash-" + user->uidText() + "/files";
    makeOwned(trash, a, 0700);
    chown(posix::parentPath(trash).c_str(), a, a);
    const std::string outside = volume + "/outside";
    makeFileOwned(outside, 0, 0600, "outside");
    // The user's trashed folder, holding root's folders (one the user cannot even enter), a
    // link out of the trash, a file with a second name outside the trash, and what the user
    // may remove by itself: the user's own file and root's file in the user's own folder.
    const std::string item = trash + "/item";
    makeOwned(item, a, 0755);
    makeOwned(item + "/sub/deeper", 0, 0755);
    chmod((item + "/sub").c_str(), 0755);
    makeFileOwned(item + "/sub/file", 0, 0644, std::string(5000, 'r'));
    makeFileOwned(item + "/sub/deeper/line\nfeed \xff", 0, 0600, "x");
    makeOwned(item + "/sub/users", a, 0700);
    makeFileOwned(item + "/sub/users/own", a, 0600);
    symlink(outside.c_str(), (item + "/sub/link").c_str());
    makeFileOwned(item + "/sub/shared", 0, 0600, "still in use");
    link((item + "/sub/shared").c_str(), (volume + "/elsewhere").c_str());
    makeOwned(item + "/locked", 0, 0000);
    makeFileOwned(item + "/locked/inner", 0, 0600);
    makeFileOwned(item + "/own", a, 0600);
    makeFileOwned(item + "/roots", 0, 0600);
    // Held open, so that what became of a removed file's data can be read.
    const int removedFile = open((item + "/sub/file").c_str(), O_RDONLY);
    ASSERT_GE(removedFile, 0);
    // The trash of a disk from elsewhere: a per-user folder of no account of this machine.
    const std::string foreign = volume + "/.Trashes/" + std::to_string(stranger);
    makeOwned(volume + "/.Trashes", 0, 01777);
    makeOwned(foreign + "/photo-folder", stranger, 0700);
    chown(foreign.c_str(), stranger, stranger);
    makeFileOwned(foreign + "/photo-folder/photo", stranger, 0600, std::string(300, 'p'));
    const uint64_t foreignBytes = statOf(foreign + "/photo-folder").st_size + 300;
    std::string untouched;
    for (const char* name : {"", "/own", "/roots"})
        untouched += std::to_string(statOf(item + name).st_ino) + " ";

    const auto helper = run(RepairKind::Remove, item);
    ASSERT_TRUE(helper.reported) << helper.output << helper.errors;
    EXPECT_EQ(helper.report.error, 0) << helper.output;
    // sub's seven entries (file, the folder deeper and its file, users and its file, link,
    // shared) and locked's file.
    EXPECT_EQ(helper.report.entries, 8u);
    EXPECT_EQ(std::vector<std::string>(), posix::listDirectory(item + "/sub"));
    EXPECT_EQ(std::vector<std::string>(), posix::listDirectory(item + "/locked"));
    // Emptied, root's folders are left for the user, who may now remove them.
    EXPECT_EQ(statOf(item + "/sub").st_uid, 0u);
    EXPECT_EQ(statOf(item + "/locked").st_mode & 07777, 0u);
    std::string left;
    for (const char* name : {"", "/own", "/roots"})
        left += std::to_string(statOf(item + name).st_ino) + " ";
    EXPECT_EQ(left, untouched);
    EXPECT_EQ(statOf(item + "/roots").st_uid, 0u);
    EXPECT_EQ(statOf(item + "/roots").st_mode & 07777, 0600u);
    // The file of one link was overwritten before it went; the one still in use elsewhere
    // and what the link pointed to were not touched.
    char buffer[5000];
    EXPECT_EQ(pread(removedFile, buffer, sizeof buffer, 0), 5000);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(5000, '\xff'));
    close(removedFile);
    EXPECT_EQ(readFile(volume + "/elsewhere"), "still in use");
    EXPECT_EQ(statOf(volume + "/elsewhere").st_uid, 0u);
    EXPECT_EQ(readFile(outside), "outside");
    EXPECT_EQ(statOf(outside).st_uid, 0u);

    // A foreign folder the user cannot enter goes whole, without overwriting when asked so.
    const int photo = open((foreign + "/photo-folder/photo").c_str(), O_RDONLY);
    const auto foreignRun = run(RepairKind::RemoveWithoutOverwrite, foreign + "/photo-folder");
    ASSERT_TRUE(foreignRun.reported) << foreignRun.output;
    EXPECT_EQ(foreignRun.report.error, 0) << foreignRun.output;
    EXPECT_EQ(foreignRun.report.entries, 2u);
    EXPECT_EQ(foreignRun.report.bytes, static_cast<double>(foreignBytes));
    EXPECT_FALSE(exists(foreign + "/photo-folder"));
    EXPECT_EQ(pread(photo, buffer, 300, 0), 300);
    EXPECT_EQ(std::string(buffer, 300), std::string(300, 'p'));
    close(photo);
}

TEST_F(RepairHelperTest, RefusesPathsOutsideTheTrashOrThroughLinks)
{
    SKIP_UNLESS_READY();
    const uid_t a = user->uid();
    const std::string private_ = volume + "/private";
    makeOwned(private_ + "/inner", 0, 0700);
    makeFileOwned(private_ + "/inner/secret", 0, 0600);
    // The user's trash folder on one volume, which the user made a link to a folder of root's;
    // and the user's real trash on the other, with a link inside it.
    symlink(private_.c_str(), (volume + "/.Trash-" + user->uidText()).c_str());
    const std::string trash = second + "/.Trash-" + user->uidText() + "/files";
    makeOwned(trash, a, 0700);
    chown(posix::parentPath(trash).c_str(), a, a);
    symlink(private_.c_str(), (trash + "/link").c_str());
    makeOwned(home + "/.local/share/Trash", a, 0700);
    symlink(private_.c_str(), (home + "/.local/share/Trash/files").c_str());
    const auto before = snapshotOf(volume);

    for (const std::string& path :
         {private_ + "/inner", volume + "/.Trash-" + user->uidText() + "/inner/secret", trash + "/link/inner",
          trash + "/../../private/inner", home + "/.local/share/Trash/files/inner", volume + "/.Trashes",
          std::string("relative/.Trash-") + user->uidText() + "/files/x"}) {
        const auto helper = run(RepairKind::Remove, path);
        ASSERT_TRUE(helper.reported) << helper.output;
        EXPECT_EQ(helper.report.error, EPERM) << path;
    }
    EXPECT_EQ(snapshotOf(volume), before);

    // Input it cannot read ends it; so does a missing user; one request is all it reads.
    const std::string uid = user->uidText();
    EXPECT_EQ(WEXITSTATUS(runHelper("x5 /tmp\n", &uid).status), 1);
    EXPECT_EQ(WEXITSTATUS(runHelper("r99 /tmp\n", &uid).status), 1);
    EXPECT_EQ(WEXITSTATUS(runHelper("", nullptr).status), 2);
    makeOwned(trash + "/one", 0, 0700);
    makeFileOwned(trash + "/one/f", 0, 0600);
    makeOwned(trash + "/two", 0, 0700);
    makeFileOwned(trash + "/two/f", 0, 0600);
    const auto twice = runHelper(encodeRepairRequest(RepairKind::Remove, trash + "/one") +
                                     encodeRepairRequest(RepairKind::Remove, trash + "/two"),
                                 &uid);
    EXPECT_EQ(twice.report.entries, 1u);
    EXPECT_TRUE(exists(trash + "/two/f"));
}

TEST_F(RepairHelperTest, OpensOnlyASharedRootThatIsNoOtherAccounts)
{
    SKIP_UNLESS_READY();
    makeOwned(volume + "/.Trashes/" + user->uidText(), 0, 0700);
    chmod((volume + "/.Trashes").c_str(), 0700);
    makeOwned(second + "/.Trashes", other->uid(), 0700);

    const auto opened = run(RepairKind::OpenSharedRoot, volume + "/.Trashes");
    ASSERT_TRUE(opened.reported) << opened.output;
    EXPECT_EQ(opened.report.error, 0);
    // Root's still, and nothing below it changed.
    EXPECT_EQ(statOf(volume + "/.Trashes").st_uid, 0u);
    EXPECT_EQ(statOf(volume + "/.Trashes").st_mode & 07777, 01733u);
    EXPECT_EQ(statOf(volume + "/.Trashes/" + user->uidText()).st_mode & 07777, 0700u);
    EXPECT_EQ(statOf(volume + "/.Trashes/" + user->uidText()).st_uid, 0u);

    const auto refused = run(RepairKind::OpenSharedRoot, second + "/.Trashes");
    ASSERT_TRUE(refused.reported) << refused.output;
    EXPECT_EQ(refused.report.error, EPERM);
    EXPECT_EQ(statOf(second + "/.Trashes").st_mode & 07777, 0700u);
}

TEST_F(RepairHelperTest, RefusalsAreOneLineWhateverThePathHolds)
{
    SKIP_UNLESS_READY();
    // A line feed in a name must not start a line of its own in the report.
    const std::string outside = volume + "/x\ndone 0 99 99";
    const auto helper = run(RepairKind::Remove, outside);
    EXPECT_EQ(WEXITSTATUS(helper.status), 0);
    EXPECT_EQ(helper.output, "ready\nnote refused " + volume +
                                 "/x\\ndone 0 99 99: outside the user's own trash folders\ndone 1 0 0\n");
}

// Stand-ins for pkexec: one that grants (starting the helper as pkexec would), and ones
// that end as pkexec does when the dialog is dismissed, the user is not authorized, or no
// authentication agent runs.
std::string writeScript(const TempDir& dir, const std::string& name, const std::string& body)
{
    const std::string path = dir / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

TEST_F(RepairHelperTest, LauncherTellsWhyAndServesOneRepairARun)
{
    SKIP_UNLESS_READY();
    TestPlatform tp;
    const std::string asked = dir / "asked";
    const std::string count = "echo >> '" + asked + "'; ";
    for (const auto& [body, expected] : std::vector<std::pair<std::string, Authorization>>{
             {count + "echo 'Error executing command as another user: Request dismissed' >&2; exit 126",
              Authorization::Dismissed},
             {count + "echo 'Error executing command as another user: Not authorized' >&2; exit 127",
              Authorization::NotAuthorized},
             {count + "echo 'Error executing command as another user: No authentication agent found.' >&2; exit 127",
              Authorization::NoAgent}}) {
        posix::PkexecLauncher refusing(tp.log, BRINDLEWICK_TEST_REPAIR_HELPER, writeScript(dir, "refuse", body));
        EXPECT_EQ(refusing.authorize(), expected) << body;
        EXPECT_EQ(refusing.authorize(), expected) << body;
        EXPECT_FALSE(refusing.isAuthorized());
        RepairReport report;
        EXPECT_NE(refusing.requestRepair(RepairKind::Remove, home, report), 0);
    }
    EXPECT_EQ(readFile(asked), "\n\n\n\n\n\n");
    posix::PkexecLauncher missing(tp.log, BRINDLEWICK_TEST_REPAIR_HELPER, dir / "no-pkexec");
    EXPECT_EQ(missing.authorize(), Authorization::Failed);

    const std::string trash = volume + "/.Trash-" + user->uidText() + "/files";
    makeOwned(trash, user->uid(), 0700);
    chown(posix::parentPath(trash).c_str(), user->uid(), user->uid());
    makeOwned(trash + "/item", 0, 0755);
    makeFileOwned(trash + "/item/file", 0, 0000, "12345");
    makeFileOwned(trash + "/item/elsewhere", 0, 0600);
    posix::PkexecLauncher granting(tp.log, BRINDLEWICK_TEST_REPAIR_HELPER,
                                   writeScript(dir, "grant", "PKEXEC_UID=" + user->uidText() + " exec \"$@\""));
    ASSERT_EQ(granting.authorize(), Authorization::Granted);
    EXPECT_TRUE(granting.isAuthorized());
    EXPECT_EQ(granting.authorize(), Authorization::Granted); // waiting: no second start
    RepairReport report;
    EXPECT_EQ(granting.requestRepair(RepairKind::Remove, trash + "/item", report), 0);
    EXPECT_EQ(report.error, 0);
    EXPECT_EQ(report.entries, 2u);
    EXPECT_EQ(report.bytes, 9.0);
    EXPECT_FALSE(exists(trash + "/item/file"));
    // The run is over: the next repair needs a new one.
    EXPECT_FALSE(granting.isAuthorized());
    EXPECT_EQ(granting.requestRepair(RepairKind::Remove, trash + "/item", report), EPIPE);
    ASSERT_EQ(granting.authorize(), Authorization::Granted);
    EXPECT_EQ(granting.requestRepair(RepairKind::Remove, volume + "/outside", report), 0);
    EXPECT_EQ(report.error, EPERM);
    EXPECT_EQ(tp.log.count("Permission repair: refused " + volume + "/outside: outside the user's own trash folders"),
              1);
}

} // namespace
} // namespace bw::test
