#include "platform/posix/Files.h"

#include "platform/posix/TreeWalk.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace bw::posix {

std::vector<std::string> listDirectoryAt(int dirFd)
{
    // getdents64 straight into a large buffer: a listing costs a few system calls, and the
    // descriptor stays the caller's (no duplicate for a DIR stream).
    std::vector<std::string> names;
    if (lseek(dirFd, 0, SEEK_SET) != 0)
        return names;
    alignas(8) static thread_local char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = getdents64(dirFd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* n = entry->d_name;
            if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
                continue;
            names.emplace_back(n);
        }
    }
    return names;
}

int openDirectoryAt(int parentFd, const char* name)
{
    return openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

int openSameFileAt(int dirFd, const char* name, int flags, const struct stat& expected, struct stat* opened)
{
    const int fd = openat(dirFd, name, flags | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (st.st_dev != expected.st_dev || st.st_ino != expected.st_ino)
        error = ESTALE;
    if (error != 0) {
        close(fd);
        errno = error;
        return -1;
    }
    if (opened)
        *opened = st;
    return fd;
}

int openDirectoryNoFollow(const std::string& path)
{
    return openDirectoryAt(AT_FDCWD, path.c_str());
}

std::vector<std::string> listDirectory(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    auto names = listDirectoryAt(fd);
    close(fd);
    return names;
}

std::vector<std::string> listRealDirectory(const std::string& path)
{
    const int fd = openDirectoryNoFollow(path);
    if (fd < 0)
        return {};
    auto names = listDirectoryAt(fd);
    close(fd);
    return names;
}

std::optional<struct stat> lstatPath(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

std::chrono::system_clock::time_point timePointOf(const struct timespec& time)
{
    return std::chrono::system_clock::from_time_t(time.tv_sec) +
           std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::nanoseconds(time.tv_nsec));
}

bool isRealFolder(const std::string& path)
{
    const auto st = lstatPath(path);
    return st && S_ISDIR(st->st_mode);
}

bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

int openFolderWithoutLinks(const std::string& path, const std::string& trustedFolder)
{
    if (path.empty() || path.front() != '/') {
        errno = EINVAL;
        return -1;
    }
    std::string rest = path;
    int fd = -1;
    if (!trustedFolder.empty() && (path == trustedFolder || path.rfind(trustedFolder + "/", 0) == 0)) {
        fd = open(trustedFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        rest = path.substr(trustedFolder.size());
    } else {
        fd = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    for (size_t at = 0; fd >= 0 && at < rest.size();) {
        const size_t slash = rest.find('/', at);
        const std::string name = rest.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
        at = slash == std::string::npos ? rest.size() : slash + 1;
        if (name.empty())
            continue;
        if (!isPlainName(name)) {
            close(fd);
            errno = EINVAL;
            return -1;
        }
        const int next = openDirectoryAt(fd, name.c_str());
        const int error = errno;
        close(fd);
        fd = next;
        errno = error;
    }
    return fd;
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (name.empty())
        return folder;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string lastComponent(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos || trimmed == "/")
        return trimmed;
    return trimmed.substr(slash + 1);
}

std::string parentPath(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return trimmed.substr(0, slash);
}

double measuredSize(int parentFd, const char* name, const std::function<void(int)>& onUnreadable)
{
    double sum = 0.0;
    WalkCallbacks callbacks;
    callbacks.visit = [&](const WalkEntry& entry) {
        if (entry.statError == 0)
            sum += static_cast<double>(entry.status.st_size);
        else if (onUnreadable)
            onUnreadable(entry.statError);
        return WalkAction::Continue;
    };
    walkTree(parentFd, std::string(), name, callbacks);
    return sum;
}

double measuredSize(const std::string& path)
{
    const std::string folder = parentPath(path);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0.0;
    const double size = measuredSize(fd, lastComponent(path).c_str());
    close(fd);
    return size;
}

} // namespace bw::posix
