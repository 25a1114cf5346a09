#include "privileges/Security.h"

#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Notifier.h"
#include "platform/Strings.h"
#include "platform/Platform.h"
#include "platform/PrivilegedLauncher.h"
#include "platform/posix/Files.h"
#include "platform/posix/TreeWalk.h"
#include "privileges/helper/UserTrash.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace bw {

namespace {

// pkexec missing or refused must not be asked again at every tick.
constexpr auto kQuietPeriod = std::chrono::hours(1);

std::optional<std::string> userNameOf(uid_t uid)
{
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return std::string(found->pw_name);
}

std::string resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

// The path with its folder resolved, as the trash rules and the helper take it.
std::string canonicalOf(const std::string& path)
{
    return posix::joinPath(resolved(posix::parentPath(path)), posix::lastComponent(path));
}

// Whether the user can see that the folder `name` holds nothing.
bool isEmptyFolder(int parentFd, const char* name)
{
    if (faccessat(parentFd, name, R_OK | X_OK, AT_EACCESS) != 0)
        return false;
    const int fd = posix::openDirectoryAt(parentFd, name);
    if (fd < 0)
        return false;
    const bool empty = posix::listDirectoryAt(fd).empty();
    close(fd);
    return empty;
}

} // namespace

Security::Security(const Platform& platform) : platform_(platform) {}

Security::~Security()
{
    deauthenticate();
}

bool Security::isAuthenticated()
{
    return platform_.launcher && platform_.launcher->isAuthorized();
}

bool Security::fetchPassword()
{
    if (!platform_.launcher)
        return false;
    lastAuthorization_ = platform_.launcher->authorize();
    return lastAuthorization_ == Authorization::Granted;
}

bool Security::authenticate()
{
    std::lock_guard lock(authorizationMutex_);
    if (!isAuthenticated())
        fetchPassword();
    return isAuthenticated();
}

void Security::deauthenticate()
{
    if (platform_.launcher)
        platform_.launcher->revoke();
}

void Security::forgetRefusals()
{
    std::lock_guard lock(refusedMutex_);
    refusedAt_.clear();
    toldCauses_.clear();
}

std::string Security::localized(const std::string& text) const
{
    return platform_.strings ? platform_.strings->localized(text) : text;
}

void Security::tellFailure(const std::string& cause, const std::string& detail)
{
    {
        std::lock_guard lock(refusedMutex_);
        if (!toldCauses_.insert(cause + detail).second)
            return;
    }
    Notifier* notifier = platform_.notifier;
    const std::string summary = localized("Trash items could not be removed");
    const std::string body = localized(cause) + detail;
    if (notifier && platform_.mainLoop)
        platform_.mainLoop->post([notifier, summary, body] { notifier->notify(summary, body); });
}

bool Security::isRefusedRecently(const std::string& askedFor)
{
    std::lock_guard lock(refusedMutex_);
    const auto it = refusedAt_.find(askedFor);
    return it != refusedAt_.end() && platform_.clock->now() - it->second < kQuietPeriod;
}

long Security::refuse(const std::string& askedFor, long result, const std::string& why)
{
    {
        std::lock_guard lock(refusedMutex_);
        refusedAt_[askedFor] = platform_.clock->now();
    }
    platform_.log->line(strprintf("%s; %s is not asked about again for an hour", why.c_str(), askedFor.c_str()));
    return result;
}

repair::TrashFolderKind Security::trashPlaceOf(const std::string& path) const
{
    const TrashOwner user = currentTrashOwner(resolved(platform_.homeDirectory), platform_.dataHome);
    return repair::trashPlaceOf(canonicalOf(path), user, repair::mountPoints());
}

bool Security::isInOwnTrash(const std::string& path) const
{
    return trashPlaceOf(path) != repair::TrashFolderKind::None;
}

bool Security::isSharedRoot(const std::string& path) const
{
    return trashPlaceOf(path) == repair::TrashFolderKind::SharedRoot;
}

long Security::folderEnabler(const std::string& path)
{
    bool started = false;
    const RepairRemoval removal;
    const int parentFd = open(posix::parentPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return ENOENT;
    const std::string name = posix::lastComponent(path);
    const long result = enable(parentFd, name.c_str(), path, W_OK | X_OK, path, started, removal);
    close(parentFd);
    return result;
}

long Security::allFilesEnabler(const std::string& path, bool* repairStarted, const RepairRemoval& removal)
{
    bool started = false;
    long result = 0;
    const std::string folder = posix::parentPath(path);
    const int parentFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) {
        result = ENOENT;
    } else {
        // Checked before the walk enters a folder, so that a folder fixed here is then entered.
        posix::WalkCallbacks callbacks;
        dev_t device = 0;
        // By depth: whether the folder walked there is someone else's with the sticky bit, from
        // which only an entry's owner may remove the entry.
        std::vector<char> othersSticky;
        const auto stuck = [&](const posix::WalkEntry& entry) {
            return entry.depth > 0 && othersSticky[static_cast<size_t>(entry.depth - 1)] &&
                   entry.status.st_uid != getuid();
        };
        callbacks.beforeFolder = [&](const posix::WalkEntry& entry) {
            // A volume mounted inside the item is not walked into, so not changed either.
            if (entry.depth == 0)
                device = entry.status.st_dev;
            if (entry.status.st_dev != device)
                return posix::WalkAction::SkipChildren;
            // The helper has had the whole item: only the user's own folders are left to open up.
            if (started && entry.status.st_uid != getuid())
                return posix::WalkAction::SkipChildren;
            const long checked = enableSeen(entry.parentFd, entry.name, entry.status, entry.path(), R_OK | W_OK | X_OK,
                                            path, started, removal, stuck(entry));
            if (checked != 0 && result == 0)
                result = checked;
            othersSticky.resize(static_cast<size_t>(entry.depth) + 1);
            othersSticky.back() = (entry.status.st_mode & S_ISVTX) != 0 && entry.status.st_uid != getuid();
            return result == -1 ? posix::WalkAction::Stop : posix::WalkAction::Continue;
        };
        callbacks.visit = [&](const posix::WalkEntry& entry) {
            if (started || entry.statError != 0 || entry.isDirectory() || !stuck(entry))
                return posix::WalkAction::Continue;
            const long checked = enableSeen(entry.parentFd, entry.name, entry.status, entry.path(), 0, path, started,
                                            removal, true);
            if (checked != 0 && result == 0)
                result = checked;
            return result == -1 ? posix::WalkAction::Stop : posix::WalkAction::Continue;
        };
        if (!posix::lstatPath(path))
            result = ENOENT;
        else
            posix::walkTree(parentFd, folder, posix::lastComponent(path), callbacks);
        close(parentFd);
    }
    if (repairStarted)
        *repairStarted = started;
    return result;
}

long Security::enable(int parentFd, const char* name, const std::string& path, int needed,
                      const std::string& askedFor, bool& started, const RepairRemoval& removal)
{
    struct stat st {};
    // Nothing is there to repair: asking for an administrator's password would be for nothing.
    if (fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return ENOENT;
    return enableSeen(parentFd, name, st, path, needed, askedFor, started, removal);
}

long Security::enableSeen(int parentFd, const char* name, const struct stat& st, const std::string& path, int needed,
                          const std::string& askedFor, bool& started, const RepairRemoval& removal, bool stuck)
{
    // A file is deleted through its folder; only a folder can stand in the way, or the
    // sticky folder the entry lies in.
    if (!stuck && (!S_ISDIR(st.st_mode) || faccessat(parentFd, name, needed, AT_EACCESS) == 0))
        return 0;
    if (st.st_uid == getuid())
        return grantOwnFolder(parentFd, name, st, path);
    // An empty folder goes through its parent like a file, unless it is a volume's shared
    // ".Trashes", where the user's own folder is yet to be made.
    if (!stuck && isEmptyFolder(parentFd, name) && !isSharedRoot(path))
        return 0;
    if (isRefusedRecently(askedFor))
        return -1;
    if (!isInOwnTrash(path))
        return refuse(askedFor, EPERM, strprintf("%s is not in the user's own trash; no repair", path.c_str()));
    const auto owner = userNameOf(st.st_uid);
    // A volume's shared ".Trashes" of another account is that account's to open, not root's.
    if (owner && st.st_uid != 0 && isSharedRoot(path))
        return refuse(askedFor, EPERM, strprintf("%s belongs to %s; no repair", path.c_str(), owner->c_str()));
    const std::string ownerName = owner ? *owner : std::to_string(st.st_uid);
    platform_.log->line(strprintf("***OriginalOwner=%s(%s)***", ownerName.c_str(), path.c_str()));
    started = true;
    return repairWithHelper(askedFor, removal);
}

long Security::repairWithHelper(const std::string& askedFor, const RepairRemoval& removal)
{
    std::lock_guard lock(repairMutex_);
    if (!authenticate()) {
        switch (lastAuthorization_.load()) {
        case Authorization::NoAgent:
            tellFailure("No authentication agent is running to ask for an administrator's password.");
            break;
        case Authorization::Dismissed:
        case Authorization::NotAuthorized:
            tellFailure("The administrator's authorization was refused.");
            break;
        default:
            tellFailure("The permission repair could not be started.");
            break;
        }
        return refuse(askedFor, -1, "Security failed");
    }
    // The helper finds the trash folders by their real paths.
    const std::string target = canonicalOf(askedFor);
    const RepairKind kind = isSharedRoot(askedFor) ? RepairKind::OpenSharedRoot
                            : removal.overwrite ? RepairKind::Remove
                                                : RepairKind::RemoveWithoutOverwrite;
    RepairReport report;
    int error = platform_.launcher->requestRepair(kind, target, report);
    if (error == 0 && report.error != ENOENT) // gone already: nothing was left to do
        error = report.error;
    // Counted like the shredder's own deletions: the item's figures shrink by what went.
    if (removal.fileSize && report.bytes > 0)
        removal.fileSize->fetch_sub(report.bytes);
    if (report.entries > 0)
        platform_.log->line(strprintf("Permission repair removed %llu entries (%.0f bytes) in %s",
                                      static_cast<unsigned long long>(report.entries), report.bytes,
                                      askedFor.c_str()));
    if (error != 0) {
        tellFailure("The permission repair failed:", strprintf(" %s.", strerror(error)));
        return refuse(askedFor, error, strprintf("Permission repair error %d(%s)", error, strerror(error)));
    }
    std::lock_guard told(refusedMutex_);
    toldCauses_.clear();
    return 0;
}

long Security::grantOwnFolder(int parentFd, const char* name, const struct stat& seen, const std::string& path)
{
    // Held by descriptor: the mode changes on the very folder that was checked, never
    // through a link put in its place.
    struct stat st {};
    const int fd = posix::openSameFileAt(parentFd, name, O_PATH, seen, &st);
    if (fd < 0 && errno != ESTALE)
        return errno;
    long error = 0;
    if (fd < 0 || !S_ISDIR(st.st_mode))
        error = ESTALE;
    else if (fchmodat(AT_FDCWD, ("/proc/self/fd/" + std::to_string(fd)).c_str(), (st.st_mode | 0700) & 07777, 0) != 0)
        error = errno;
    if (fd >= 0)
        close(fd);
    platform_.log->line(strprintf("***OriginalPermissions=%x(%s)***%s", seen.st_mode & 07777, path.c_str(),
                                  error ? strprintf(" not changed: error %ld", error).c_str() : ""));
    return error;
}

} // namespace bw
