#include "privileges/Security.h"

#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/PrivilegedLauncher.h"
#include "platform/posix/Files.h"
#include "platform/posix/TreeWalk.h"

#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace bw {

namespace {

std::optional<std::string> userNameOf(uid_t uid)
{
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return std::string(found->pw_name);
}

} // namespace

Security::Security(const Platform& platform) : platform_(platform) {}

Security::~Security()
{
    deauthenticate();
}

void Security::wire(Controllers&) {}

bool Security::isAuthenticated()
{
    return platform_.launcher && platform_.launcher->isAuthorized();
}

bool Security::fetchPassword()
{
    return platform_.launcher && platform_.launcher->authorize();
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

long Security::folderEnabler(const std::string& path)
{
    bool started = false;
    return enable(path, started);
}

long Security::enable(const std::string& path, bool& started)
{
    // Both checks use what was read here, before any repair.
    const auto status = posix::lstatPath(path);
    // Nothing is there to repair: asking for an administrator's password would be for nothing.
    if (!status)
        return ENOENT;
    const uid_t user = getuid();
    if (status->st_uid != user) {
        const auto owner = status ? userNameOf(status->st_uid) : std::nullopt;
        const std::string ownerName = owner ? *owner : status ? std::to_string(status->st_uid) : "(null)";
        platform_.log->line(strprintf("***OriginalOwner=%s(%s)***", ownerName.c_str(), path.c_str()));
        if (!authenticate()) {
            platform_.log->line("Security failed");
            return -1;
        }
        if (const int error = platform_.launcher->requestRepair(RepairKind::Owner, path)) {
            platform_.log->line(strprintf("folderEnabler: chown rror %d", error));
            return error;
        }
        started = true;
    }
    const unsigned permissions = status ? status->st_mode & 07777 : 0;
    if ((permissions & 0600) == 0600)
        return 0;
    platform_.log->line(strprintf("***OriginalPermissions=%x(%s)***", permissions, path.c_str()));
    if (!authenticate()) {
        platform_.log->line("Security failed2");
        return -1;
    }
    const int error = platform_.launcher->requestRepair(RepairKind::Permissions, path);
    if (error != 0)
        platform_.log->line(strprintf("folderEnabler: comod error %d", error));
    else
        started = true;
    return error;
}

long Security::allFilesEnabler(const std::string& path, bool* repairStarted)
{
    bool started = false;
    long result = enable(path, started);
    const int folderFd = posix::openDirectoryNoFollow(path);
    if (folderFd >= 0) {
        for (const auto& name : posix::listDirectoryAt(folderFd)) {
            result = enable(posix::joinPath(path, name), started);
            posix::WalkCallbacks callbacks;
            callbacks.visit = [&](const posix::WalkEntry& entry) {
                if (entry.depth > 0)
                    result = enable(entry.path(), started);
                return posix::WalkAction::Continue;
            };
            posix::walkTree(folderFd, path, name, callbacks);
        }
        close(folderFd);
    }
    if (repairStarted)
        *repairStarted = started;
    return result;
}

} // namespace bw
