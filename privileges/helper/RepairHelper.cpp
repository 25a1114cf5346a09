#include "privileges/helper/RepairHelper.h"

#include "platform/posix/Files.h"
#include "platform/posix/TreeWalk.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::repair {

namespace {

constexpr size_t kMaxPathLength = 1 << 16;

void refuse(const std::string& path, const char* why)
{
    std::fprintf(stderr, "brindlewick-repair: refused %s: %s\n", path.c_str(), why);
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

bool isInside(const std::string& path, const std::string& root)
{
    return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                            (root.back() == '/' || path[root.size()] == '/'));
}

// mountinfo escapes blanks, tabs, line feeds and backslashes as \ooo.
std::string unescapeMountPath(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            out += static_cast<char>(std::strtol(field.substr(i + 1, 3).c_str(), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
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
    user.uid = pw->pw_uid;
    const struct group* admin = getgrnam("admin");
    user.group = admin ? admin->gr_gid : pw->pw_gid;
    user.home = pw->pw_dir;
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

std::vector<std::string> trashRoots(const User& user)
{
    std::vector<std::string> roots;
    char resolved[PATH_MAX];
    if (realpath(user.home.c_str(), resolved))
        roots.push_back(posix::joinPath(resolved, ".Trash"));
    std::ifstream mountinfo("/proc/self/mountinfo");
    std::string line;
    while (std::getline(mountinfo, line)) {
        std::istringstream fields(line);
        std::string id, parent, devices, root, mountPoint;
        if (fields >> id >> parent >> devices >> root >> mountPoint)
            roots.push_back(posix::joinPath(unescapeMountPath(mountPoint), ".Trashes"));
    }
    return roots;
}

Repairer::Repairer(User user) : user_(std::move(user)) {}

int Repairer::openParentInsideTrash(const std::string& path, std::string& name)
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
    bool inside = false;
    for (const auto& root : roots_)
        inside = inside || isInside(canonical, root);
    if (!inside) {
        refuse(path, "outside every trash folder");
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
    roots_ = trashRoots(user_);
    std::string name;
    const int parentFd = openParentInsideTrash(request.path, name);
    if (parentFd < 0)
        return EPERM;
    struct stat st {};
    if (fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISLNK(st.st_mode)) {
        refuse(request.path, "missing or a symbolic link");
        close(parentFd);
        return EPERM;
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
        if ((st.st_uid != user_.uid || st.st_gid != user_.group) &&
            fchownat(fd, "", user_.uid, user_.group, AT_EMPTY_PATH) != 0)
            error = errno;
    } else if (!S_ISLNK(st.st_mode) && (st.st_mode & 0600) != 0600) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (fchmodat(AT_FDCWD, self.c_str(), (st.st_mode | 0600) & 07777, 0) != 0)
            error = errno;
    }
    close(fd);
    return error;
}

} // namespace bw::repair
