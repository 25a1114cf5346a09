#include "privileges/helper/RepairHelper.h"

#include "platform/Log.h"
#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"
#include "platform/posix/TreeWalk.h"
#include "privileges/helper/UserTrash.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <linux/magic.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace bw::repair {

namespace {

constexpr size_t kMaxPathLength = 1 << 16;
constexpr size_t kFillBlock = 1 << 16;
// File systems that write an overwrite to new blocks, so that it destroys nothing.
constexpr long kZfsMagic = 0x2fc12fc1;
constexpr long kBcachefsMagic = 0xca451a4e;

std::vector<std::string> componentsOf(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(path);
    while (std::getline(in, part, '/'))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// Opens the folder named by `parts` from the root, one component at a time, never through a link.
int openNoFollowFromRoot(const std::vector<std::string>& parts)
{
    int fd = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const auto& part : parts) {
        if (fd < 0)
            return -1;
        const int next = openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        close(fd);
        fd = next;
    }
    return fd;
}

bool isAccount(uid_t uid)
{
    return getpwuid(uid) != nullptr;
}

bool overwriteReaches(int fd)
{
    struct statfs fs {};
    if (fstatfs(fd, &fs) != 0)
        return true;
    const long type = static_cast<long>(fs.f_type);
    return type != BTRFS_SUPER_MAGIC && type != F2FS_SUPER_MAGIC && type != NILFS_SUPER_MAGIC && type != kZfsMagic &&
           type != kBcachefsMagic;
}

// Writes 0xFF over the whole file, which is opened write-only (its content is never read),
// without truncating and never through a link, and only when it is still the very regular
// file of one link that was seen: a file of several links is still in use elsewhere.
int overwriteFile(int parentFd, const char* name, const struct stat& seen)
{
    const int fd = openat(parentFd, name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode) || st.st_dev != seen.st_dev || st.st_ino != seen.st_ino || st.st_nlink != 1)
        error = ESTALE;
    else if (overwriteReaches(fd)) {
        const uint64_t size = static_cast<uint64_t>(st.st_size);
        const std::vector<char> fill(static_cast<size_t>(std::min<uint64_t>(size, kFillBlock)), '\xff');
        for (uint64_t done = 0; done < size && error == 0;) {
            const size_t length = static_cast<size_t>(std::min<uint64_t>(size - done, fill.size()));
            const ssize_t n = pwrite(fd, fill.data(), length, static_cast<off_t>(done));
            if (n < 0 && errno != EINTR)
                error = errno;
            else if (n > 0)
                done += static_cast<uint64_t>(n);
        }
        if (error == 0 && fdatasync(fd) != 0 && errno != EINVAL)
            error = errno;
    }
    close(fd);
    return error;
}

// How one folder on the way to a requested entry must be, for it to lie in the user's trash.
enum class Rule {
    Real,    // a real folder (no link: every step is opened without following one)
    Sticky,  // a real folder with the sticky bit: the shared ".Trash"
    Own,     // owned by the user
    PerUser, // a ".Trashes" per-user folder: the user's, or of no account of this machine
    Inside,  // below the trash folder, on its file system
};

struct Step {
    std::string name;
    Rule rule;
};

} // namespace

struct Repairer::Descent {
    std::vector<std::string> anchor; // the home folder or a volume's mount point
    std::vector<Step> steps;         // from there to the folder that holds the entry
    std::string name;                // the entry
};

std::optional<User> userFromEnvironment()
{
    const char* text = std::getenv("PKEXEC_UID");
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long uid = std::strtoul(text, &end, 10);
    if (*end != '\0' || errno != 0 || uid > UINT_MAX)
        return std::nullopt;
    const struct passwd* pw = getpwuid(static_cast<uid_t>(uid));
    if (!pw)
        return std::nullopt;
    User user;
    user.uid = pw->pw_uid;
    user.gid = pw->pw_gid;
    user.name = pw->pw_name;
    char resolved[PATH_MAX];
    user.homeDirectory = realpath(pw->pw_dir, resolved) ? resolved : pw->pw_dir;
    int count = 64;
    user.groups.resize(static_cast<size_t>(count));
    if (getgrouplist(pw->pw_name, pw->pw_gid, user.groups.data(), &count) < 0) {
        user.groups.resize(static_cast<size_t>(count));
        getgrouplist(pw->pw_name, pw->pw_gid, user.groups.data(), &count);
    }
    user.groups.resize(static_cast<size_t>(std::max(count, 0)));
    if (std::find(user.groups.begin(), user.groups.end(), user.gid) == user.groups.end())
        user.groups.push_back(user.gid);
    return user;
}

ReadResult readRequest(std::FILE* in, Request& request)
{
    const int kind = std::fgetc(in);
    if (kind == EOF)
        return ReadResult::End;
    if (kind != static_cast<int>(RepairKind::Remove) && kind != static_cast<int>(RepairKind::RemoveWithoutOverwrite) &&
        kind != static_cast<int>(RepairKind::OpenSharedRoot))
        return ReadResult::Malformed;
    size_t length = 0;
    int c = std::fgetc(in);
    for (int digits = 0; c >= '0' && c <= '9' && digits < 7; ++digits, c = std::fgetc(in))
        length = length * 10 + static_cast<size_t>(c - '0');
    if (c != ' ' || length == 0 || length > kMaxPathLength)
        return ReadResult::Malformed;
    std::string path(length, '\0');
    if (std::fread(path.data(), 1, length, in) != length || std::fgetc(in) != '\n')
        return ReadResult::Malformed;
    if (path.find('\0') != std::string::npos)
        return ReadResult::Malformed;
    request.kind = static_cast<RepairKind>(kind);
    request.path = std::move(path);
    return ReadResult::Request;
}

Repairer::Repairer(User user, std::function<void(const std::string&)> note)
    : user_(std::move(user)), note_(std::move(note))
{
}

void Repairer::refuse(const std::string& path, const char* why)
{
    // Escaped, so that a line feed in a name cannot write a line of its own choosing.
    note_(escapeControlCharacters("refused " + path + ": " + why));
}

bool Repairer::mayEmpty(const struct stat& folder) const
{
    // The user's own folder the user can always open up (the program does so itself).
    if (folder.st_uid == user_.uid)
        return true;
    const bool inGroup = std::find(user_.groups.begin(), user_.groups.end(), folder.st_gid) != user_.groups.end();
    const mode_t bits = inGroup ? (folder.st_mode >> 3) & 07 : folder.st_mode & 07;
    return bits == 07; // listed, entered and written
}

bool Repairer::mayDelete(const struct stat& entry, const struct stat& folder) const
{
    if (!mayEmpty(folder))
        return false;
    // In a sticky folder only the entry's or the folder's owner may remove the entry.
    return (folder.st_mode & S_ISVTX) == 0 || entry.st_uid == user_.uid || folder.st_uid == user_.uid;
}

std::optional<Repairer::Descent> Repairer::descentTo(const std::string& path, bool sharedRoot) const
{
    const auto parts = componentsOf(path);
    const auto below = [&](const std::vector<std::string>& anchor) {
        return parts.size() > anchor.size() && std::equal(anchor.begin(), anchor.end(), parts.begin())
                   ? std::vector<std::string>(parts.begin() + static_cast<long>(anchor.size()), parts.end())
                   : std::vector<std::string>{};
    };
    // The trash folder's steps, then the folders inside it down to the entry, which must
    // lie strictly inside it.
    const auto descent = [](const std::vector<std::string>& anchor, std::vector<Step> steps,
                            const std::vector<std::string>& rest) {
        for (size_t i = steps.size(); i + 1 < rest.size(); ++i)
            steps.push_back({rest[i], Rule::Inside});
        return Descent{anchor, std::move(steps), rest.back()};
    };
    const std::string uid = std::to_string(user_.uid);
    const auto home = componentsOf(user_.homeDirectory);
    if (const auto rest = below(home); !sharedRoot && !rest.empty()) {
        if (rest.size() >= 2 && rest[0] == ".Trash")
            return descent(home, {{".Trash", Rule::Own}}, rest);
        if (rest.size() >= 5 && rest[0] == ".local" && rest[1] == "share" && rest[2] == "Trash" && rest[3] == "files")
            return descent(
                home, {{".local", Rule::Real}, {"share", Rule::Real}, {"Trash", Rule::Own}, {"files", Rule::Own}}, rest);
    }
    for (const auto& mount : mountPoints()) {
        const auto anchor = componentsOf(mount);
        const auto rest = below(anchor);
        if (rest.empty())
            continue;
        if (sharedRoot) {
            if (rest.size() == 1 && rest[0] == ".Trashes")
                return Descent{anchor, {}, rest[0]};
            continue;
        }
        if (rest.size() >= 3 && rest[0] == ".Trashes")
            return descent(anchor, {{".Trashes", Rule::Real}, {rest[1], Rule::PerUser}}, rest);
        if (rest.size() >= 3 && rest[0] == ".Trash-" + uid && rest[1] == "files")
            return descent(anchor, {{rest[0], Rule::Own}, {"files", Rule::Own}}, rest);
        if (rest.size() >= 4 && rest[0] == ".Trash" && rest[1] == uid && rest[2] == "files")
            return descent(anchor, {{".Trash", Rule::Sticky}, {uid, Rule::Own}, {"files", Rule::Own}}, rest);
    }
    return std::nullopt;
}

const char* Repairer::refusalOf(const std::string& name, int rule, const struct stat& st, dev_t trashDevice) const
{
    switch (static_cast<Rule>(rule)) {
    case Rule::Real:
        return nullptr;
    case Rule::Sticky:
        return (st.st_mode & S_ISVTX) ? nullptr : "the shared trash folder has no sticky bit";
    case Rule::Own:
        return st.st_uid == user_.uid ? nullptr : "a trash folder on its way is not the user's";
    case Rule::PerUser: {
        const TrashOwner owner{user_.uid, user_.name, user_.homeDirectory, {}};
        const bool others = (st.st_uid != user_.uid && isAccount(st.st_uid)) ||
                            posix::isOtherAccountsFolder(name, st.st_uid, owner);
        return others ? "its trash folder belongs to another account" : nullptr;
    }
    case Rule::Inside:
        return st.st_dev == trashDevice ? nullptr : "it lies on another file system than its trash";
    }
    return "unknown rule";
}

int Repairer::openDescent(const Descent& descent, const std::string& path)
{
    int fd = openNoFollowFromRoot(descent.anchor);
    if (fd < 0) {
        refuse(path, "its volume or home folder cannot be opened without following a link");
        return -1;
    }
    dev_t trashDevice = 0;
    for (const auto& step : descent.steps) {
        const int next = openat(fd, step.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        close(fd);
        fd = next;
        struct stat st {};
        if (fd < 0 || fstat(fd, &st) != 0) {
            refuse(path, "a folder on its way is missing, not a folder or a symbolic link");
            if (fd >= 0)
                close(fd);
            return -1;
        }
        if (const char* why = refusalOf(step.name, static_cast<int>(step.rule), st, trashDevice)) {
            refuse(path, why);
            close(fd);
            return -1;
        }
        if (step.rule != Rule::Inside)
            trashDevice = st.st_dev;
    }
    return fd;
}

RepairReport Repairer::repair(const Request& request)
{
    RepairReport report;
    const bool sharedRoot = request.kind == RepairKind::OpenSharedRoot;
    const auto parts = componentsOf(request.path);
    const bool plain = request.path[0] == '/' && std::none_of(parts.begin(), parts.end(), [](const auto& part) {
                           return part == "." || part == "..";
                       });
    const auto descent = plain ? descentTo(request.path, sharedRoot) : std::nullopt;
    if (!descent) {
        refuse(request.path, "outside the user's own trash folders");
        report.error = EPERM;
        return report;
    }
    const int folderFd = openDescent(*descent, request.path);
    if (folderFd < 0) {
        report.error = EPERM;
        return report;
    }
    struct stat st {};
    if (fstatat(folderFd, descent->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        report.error = errno; // gone already: nothing to do
    else if (sharedRoot)
        report.error = openSharedRoot(folderFd, request.path);
    else
        removeUndeletable(folderFd, posix::parentPath(request.path), descent->name,
                          request.kind == RepairKind::Remove, report);
    close(folderFd);
    return report;
}

int Repairer::openSharedRoot(int volumeFd, const std::string& path)
{
    // ".Trashes" belongs to every user of the volume: it is never given to one of them, nor
    // changed below itself; it is only made writable and searchable for all, with the sticky
    // bit that keeps each user's folder their own. Another account's folder of that name is
    // left alone.
    const int fd = openat(volumeFd, ".Trashes", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        refuse(path, "not a folder, or a symbolic link");
        return EPERM;
    }
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0) {
        error = errno;
    } else if (st.st_uid != 0 && st.st_uid != user_.uid && isAccount(st.st_uid)) {
        refuse(path, "it belongs to another account");
        error = EPERM;
    } else if ((st.st_mode & 01333) != 01333 && fchmod(fd, (st.st_mode | 01333) & 07777) != 0) {
        error = errno;
    }
    close(fd);
    return error;
}

int Repairer::removeEntry(int parentFd, const char* name, const struct stat& seen, bool overwrite)
{
    if (S_ISDIR(seen.st_mode))
        return unlinkat(parentFd, name, AT_REMOVEDIR) == 0 ? 0 : errno;
    if (overwrite && S_ISREG(seen.st_mode) && seen.st_nlink == 1) {
        // Half overwritten, it stays: removing it would pass it off as shredded.
        if (const int error = overwriteFile(parentFd, name, seen))
            return error;
    }
    return unlinkat(parentFd, name, 0) == 0 ? 0 : errno;
}

void Repairer::removeUndeletable(int folderFd, const std::string& folder, const std::string& name, bool overwrite,
                                 RepairReport& report)
{
    struct stat top {};
    if (fstat(folderFd, &top) != 0) {
        report.error = errno;
        return;
    }
    // By depth: whether the folder being walked at that depth goes whole, with all it holds.
    std::vector<char> whole;
    const auto goes = [&](const posix::WalkEntry& entry) {
        if (entry.depth > 0 && whole[static_cast<size_t>(entry.depth - 1)])
            return true;
        struct stat parent {};
        if (entry.depth == 0)
            parent = top;
        else if (fstat(entry.parentFd, &parent) != 0)
            return false;
        return !mayDelete(entry.status, parent);
    };
    posix::WalkCallbacks callbacks;
    callbacks.beforeFolder = [&](const posix::WalkEntry& entry) {
        whole.resize(static_cast<size_t>(entry.depth) + 1);
        whole.back() = goes(entry);
        return posix::WalkAction::Continue;
    };
    callbacks.visit = [&](const posix::WalkEntry& entry) {
        if (entry.statError != 0)
            return posix::WalkAction::Continue;
        const bool isFolder = S_ISDIR(entry.status.st_mode);
        if (isFolder ? !whole[static_cast<size_t>(entry.depth)] : !goes(entry))
            return posix::WalkAction::Continue;
        if (const int error = removeEntry(entry.parentFd, entry.name, entry.status, overwrite)) {
            note_(escapeControlCharacters(std::string("could not remove ") + entry.path() + ": " + strerror(error)));
            if (report.error == 0)
                report.error = error;
        } else {
            ++report.entries;
            report.bytes += static_cast<double>(entry.status.st_size);
        }
        return posix::WalkAction::Continue;
    };
    if (posix::walkTree(folderFd, folder, name, callbacks) == posix::WalkResult::Redirected && report.error == 0)
        report.error = ESTALE;
}

} // namespace bw::repair
