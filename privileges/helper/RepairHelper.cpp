#include "privileges/helper/RepairHelper.h"

#include "platform/Log.h"
#include "platform/posix/Files.h"
#include "platform/posix/TreeWalk.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::repair {

namespace {

constexpr size_t kMaxPathLength = 1 << 16;

// Escaped, so that a line feed in a name cannot write a line of its own choosing.
void refuse(const std::string& path, const char* why)
{
    std::fprintf(stderr, "brindlewick-repair: refused %s: %s\n", escapeControlCharacters(path).c_str(), why);
}

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

// Opens the folder `path` from the root, one component at a time, never through a link.
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

} // namespace

std::optional<User> userFromEnvironment()
{
    const char* text = std::getenv("PKEXEC_UID");
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    const unsigned long uid = std::strtoul(text, &end, 10);
    if (*end != '\0')
        return std::nullopt;
    const struct passwd* pw = getpwuid(static_cast<uid_t>(uid));
    if (!pw)
        return std::nullopt;
    User user;
    user.trash.uid = pw->pw_uid;
    user.trash.userName = pw->pw_name;
    char resolved[PATH_MAX];
    user.trash.homeDirectory = realpath(pw->pw_dir, resolved) ? resolved : pw->pw_dir;
    // pkexec keeps no XDG_DATA_HOME: the data folder is the default one.
    user.trash.dataHome = posix::joinPath(user.trash.homeDirectory, ".local/share");
    const struct group* admin = getgrnam("admin");
    user.group = admin ? admin->gr_gid : pw->pw_gid;
    return user;
}

ReadResult readRequest(std::FILE* in, Request& request)
{
    const int kind = std::fgetc(in);
    if (kind == EOF)
        return ReadResult::End;
    if (kind != static_cast<int>(RepairKind::Owner) && kind != static_cast<int>(RepairKind::Permissions))
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

Repairer::Repairer(User user) : user_(std::move(user)) {}

int Repairer::openParentInsideTrash(const std::string& path, std::string& name, TrashFolderKind& place)
{
    const auto parts = componentsOf(path);
    if (path.empty() || path[0] != '/' || parts.empty()) {
        refuse(path, "not an absolute path");
        return -1;
    }
    for (const auto& part : parts)
        if (part == "." || part == "..") {
            refuse(path, "relative components");
            return -1;
        }
    char resolved[PATH_MAX];
    if (!realpath(posix::parentPath(path).c_str(), resolved)) {
        refuse(path, "its folder cannot be found");
        return -1;
    }
    name = parts.back();
    const std::string canonical = posix::joinPath(resolved, name);
    // Volumes are found afresh for each request, so a volume mounted since the start counts.
    place = trashPlaceOf(canonical, user_.trash, mountPoints());
    if (place == TrashFolderKind::None) {
        refuse(path, "outside the user's own trash folders");
        return -1;
    }
    // Opened again without following links: a folder swapped for a link since the check fails here.
    const int parentFd = openNoFollowFromRoot(componentsOf(resolved));
    if (parentFd < 0)
        refuse(path, "its folder changed");
    return parentFd;
}

int Repairer::repair(const Request& request)
{
    std::string name;
    TrashFolderKind place = TrashFolderKind::None;
    const int parentFd = openParentInsideTrash(request.path, name, place);
    if (parentFd < 0)
        return EPERM;
    struct stat st {};
    if (fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISLNK(st.st_mode)) {
        refuse(request.path, "missing or a symbolic link");
        close(parentFd);
        return EPERM;
    }
    if (place == TrashFolderKind::SharedRoot) {
        const int error = widenSharedRoot(parentFd, name.c_str());
        close(parentFd);
        return error;
    }
    int error = 0;
    posix::WalkCallbacks callbacks;
    callbacks.visit = [&](const posix::WalkEntry& entry) {
        if (entry.statError == 0) {
            if (const int failed = repairEntry(request.kind, entry.parentFd, entry.name, entry.status))
                error = failed;
        }
        return posix::WalkAction::Continue;
    };
    posix::walkTree(parentFd, posix::parentPath(request.path), name, callbacks);
    close(parentFd);
    return error;
}

int Repairer::repairEntry(RepairKind kind, int parentFd, const char* name, const struct stat& seen)
{
    // Held by descriptor from here on: the change lands on the very inode that was checked.
    struct stat st {};
    const int fd = posix::openSameFileAt(parentFd, name, O_PATH, seen, &st);
    if (fd < 0)
        return errno;
    int error = 0;
    if (!S_ISDIR(st.st_mode) && st.st_nlink > 1) {
        // Its other names lie outside the trash; a change of owner or mode would reach them.
        refuse(name, "a file with several links");
        error = EPERM;
    } else if (kind == RepairKind::Owner) {
        if ((st.st_uid != user_.trash.uid || st.st_gid != user_.group) &&
            fchownat(fd, "", user_.trash.uid, user_.group, AT_EMPTY_PATH) != 0)
            error = errno;
    } else if (!S_ISLNK(st.st_mode)) {
        // A folder without the search bit cannot be emptied: folders get u+rwx, files u+rw.
        const mode_t wanted = S_ISDIR(st.st_mode) ? 0700 : 0600;
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if ((st.st_mode & wanted) != wanted && fchmodat(AT_FDCWD, self.c_str(), (st.st_mode | wanted) & 07777, 0) != 0)
            error = errno;
    }
    close(fd);
    return error;
}

int Repairer::widenSharedRoot(int parentFd, const char* name)
{
    // ".Trashes" belongs to every user of the volume: it is never given to one of them, nor
    // changed below itself; it is only made writable and searchable for all, with the sticky
    // bit that keeps each user's folder their own.
    const int fd = openat(parentFd, name, O_PATH | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    int error = 0;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (fstat(fd, &st) != 0)
        error = errno;
    else if ((st.st_mode & 01333) != 01333 && fchmodat(AT_FDCWD, self.c_str(), (st.st_mode | 01333) & 07777, 0) != 0)
        error = errno;
    close(fd);
    return error;
}

} // namespace bw::repair
