#include "platform/posix/ShredOps.h"

#include "platform/posix/Files.h"
#include "platform/posix/ResourceForkXattr.h"
#include "platform/posix/TreeWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <iterator>
#include <optional>
#include <sys/statfs.h>
#include <string>
#include <unistd.h>
#include <vector>

// errno values that are passed over on purpose:
//   EINTR        a write, read or sync interrupted by a signal: the call is made again.
//   EINVAL       fdatasync on a file system that cannot sync: the bytes were written.
//   EINVAL       renameat2 on a file system without RENAME_NOREPLACE: checked rename instead.
//   EINVAL       SEEK_DATA on a file system that does not know holes: the whole file is written.
//   ENXIO        SEEK_DATA past the last extent: the rest of the file is a hole.
//   EXDEV        a move between file systems: copied, then removed.
//   EISDIR,
//   EPERM        unlinking a folder as if it were a file: it is removed as a folder.
//   ENOTEMPTY,
//   EEXIST       removing a folder that still holds entries: emptied, then removed.
// Every other errno ends the step and is returned to the caller.

namespace bw::posix {

namespace {

constexpr uint64_t kBlock = 256;
constexpr size_t kChunk = 1 << 20;

const std::vector<unsigned char>& fillChunk()
{
    static const std::vector<unsigned char> chunk(kChunk, 0xFF);
    return chunk;
}

// Writes the whole buffer at `offset`, or at the file position when there is none.
int writeAll(int fd, const unsigned char* data, size_t length, std::optional<uint64_t> offset = std::nullopt)
{
    while (length > 0) {
        const ssize_t n = offset ? pwrite(fd, data, length, static_cast<off_t>(*offset)) : write(fd, data, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        length -= static_cast<size_t>(n);
        if (offset)
            *offset += static_cast<uint64_t>(n);
    }
    return 0;
}

// Fills [from, to) with 0xFF in large writes, asking `stop` before each one.
int fillRange(int fd, uint64_t from, uint64_t to, const std::function<bool()>& stop)
{
    const auto& chunk = fillChunk();
    while (from < to) {
        if (stop && stop())
            return ECANCELED;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(to - from, chunk.size()));
        if (const int error = writeAll(fd, chunk.data(), n, from))
            return error;
        from += n;
    }
    return 0;
}

int syncData(int fd)
{
    while (fdatasync(fd) != 0) {
        if (errno == EINTR)
            continue;
        return errno == EINVAL ? 0 : errno;
    }
    return 0;
}

int copyContent(int from, int to)
{
    std::vector<unsigned char> buffer(kChunk);
    for (;;) {
        const ssize_t n = read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        if (const int error = writeAll(to, buffer.data(), static_cast<size_t>(n)))
            return error;
    }
}

int copyFileAcross(int fromDir, const char* name, const struct stat& st, int toDir, const char* toName)
{
    struct stat opened {};
    const int from = openSameFileAt(fromDir, name, O_RDONLY | O_NONBLOCK, st, &opened);
    if (from < 0)
        return errno;
    const int to = openat(toDir, toName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (to < 0) {
        const int error = errno;
        close(from);
        return error;
    }
    int error = copyContent(from, to);
    if (error == 0) {
        if (auto fork = readResourceFork(from))
            writeResourceFork(to, *fork);
        const struct timespec times[2] = {opened.st_atim, opened.st_mtim};
        futimens(to, times);
        if (fchmod(to, opened.st_mode & 07777) != 0)
            error = errno;
    }
    close(from);
    if (close(to) != 0 && error == 0)
        error = errno;
    if (error != 0)
        unlinkat(toDir, toName, 0);
    return error;
}

int copyLinkAcross(int fromDir, const char* name, const struct stat& st, int toDir, const char* toName)
{
    std::string target(static_cast<size_t>(std::max<off_t>(st.st_size, 0)) + 1, '\0');
    const ssize_t n = readlinkat(fromDir, name, target.data(), target.size());
    if (n < 0)
        return errno;
    if (static_cast<size_t>(n) >= target.size())
        return ESTALE; // the link changed since it was seen
    target.resize(static_cast<size_t>(n));
    return symlinkat(target.c_str(), toDir, toName) == 0 ? 0 : errno;
}

bool isEmptyFolder(int dirFd, const char* name)
{
    const int fd = openDirectoryAt(dirFd, name);
    if (fd < 0)
        return false;
    const bool empty = listDirectoryAt(fd).empty();
    close(fd);
    return empty;
}

int moveAcross(int fromDir, const char* name, int toDir, const char* toName)
{
    struct stat st {};
    if (fstatat(fromDir, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    int error = EXDEV;
    if (S_ISREG(st.st_mode))
        error = copyFileAcross(fromDir, name, st, toDir, toName);
    else if (S_ISLNK(st.st_mode))
        error = copyLinkAcross(fromDir, name, st, toDir, toName);
    else if (S_ISDIR(st.st_mode) && isEmptyFolder(fromDir, name))
        error = mkdirat(toDir, toName, st.st_mode & 07777) == 0 ? 0 : errno;
    if (error != 0)
        return error;
    if (unlinkat(fromDir, name, S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0) != 0) {
        // The original stays whole: take the copy back so nothing exists twice.
        error = errno;
        if (S_ISDIR(st.st_mode))
            unlinkat(toDir, toName, AT_REMOVEDIR);
        else
            unlinkat(toDir, toName, 0);
    }
    return error;
}

int removeTreeAt(int dirFd, const char* name)
{
    int error = 0;
    WalkCallbacks callbacks;
    callbacks.visit = [&error](const WalkEntry& entry) {
        if (unlinkat(entry.parentFd, entry.name, entry.isDirectory() ? AT_REMOVEDIR : 0) != 0) {
            error = errno;
            return WalkAction::Stop;
        }
        return WalkAction::Continue;
    };
    if (walkTree(dirFd, std::string(), name, callbacks) == WalkResult::Redirected && error == 0)
        error = ESTALE;
    return error;
}

} // namespace

uint64_t filledLength(uint64_t size)
{
    return (size / kBlock + (size % kBlock != 0 ? 1 : 0)) * kBlock;
}

namespace {

// The user's own read-only file is about to be removed anyway; owner write permission lets
// its content be overwritten first. The change goes through a descriptor of the very inode
// that was seen, so it cannot land on anything else.
bool grantOwnerWrite(int dirFd, const char* name, const struct stat& seen)
{
    if (seen.st_uid != geteuid())
        return false;
    struct stat st {};
    const int fd = openSameFileAt(dirFd, name, O_PATH, seen, &st);
    if (fd < 0)
        return false;
    bool granted = false;
    if (S_ISREG(st.st_mode) && st.st_nlink == 1) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        granted = fchmodat(AT_FDCWD, self.c_str(), (st.st_mode | S_IWUSR) & 07777, 0) == 0;
    }
    close(fd);
    return granted;
}

} // namespace

int openForOverwrite(int dirFd, const char* name, const struct stat& seen)
{
    if (!S_ISREG(seen.st_mode) || seen.st_nlink != 1)
        return -1;
    struct stat st {};
    int fd = openSameFileAt(dirFd, name, O_WRONLY | O_NONBLOCK, seen, &st);
    if (fd < 0 && errno == EACCES && grantOwnerWrite(dirFd, name, seen))
        fd = openSameFileAt(dirFd, name, O_WRONLY | O_NONBLOCK, seen, &st);
    if (fd < 0)
        return -1;
    if (!S_ISREG(st.st_mode) || st.st_nlink != 1) {
        close(fd);
        return -1;
    }
    return fd;
}

int overwriteWithFill(int fd, uint64_t size, const std::function<bool()>& stop)
{
    if (size == 0)
        return 0;
    // Only the allocated extents hold data; writing a hole would allocate it, and a large
    // sparse file would then fill the volume whose space the pass is there to free.
    const uint64_t end = filledLength(size);
    uint64_t filled = 0; // where the last range written ends
    for (uint64_t at = 0; at < size;) {
        uint64_t data = at;
        uint64_t hole = size;
        const off_t found = lseek(fd, static_cast<off_t>(at), SEEK_DATA);
        if (found < 0 && errno == ENXIO)
            break; // nothing but a hole up to the end
        // EINVAL: a file system that cannot tell holes apart; the rest is taken as data.
        if (found < 0 && errno != EINVAL)
            return errno;
        if (found >= 0) {
            data = static_cast<uint64_t>(found);
            const off_t next = lseek(fd, found, SEEK_HOLE);
            if (next < 0)
                return errno;
            hole = std::min(static_cast<uint64_t>(next), size);
        }
        if (data >= size)
            break;
        // The extent that reaches the end also takes the rounding up to a whole block.
        const uint64_t to = hole >= size ? end : hole;
        if (const int error = fillRange(fd, data, to, stop))
            return error;
        filled = to;
        at = hole;
    }
    if (filled != end)
        if (const int error = fillRange(fd, size, end, stop))
            return error;
    return syncData(fd);
}

namespace {

bool reachesOn(const struct statfs& fs)
{
    // The superblock magic numbers of btrfs, zfs, bcachefs, f2fs and nilfs2.
    constexpr unsigned long kCopyOnWrite[] = {0x9123683EUL, 0x2FC12FC1UL, 0xCA451A4EUL, 0xF2F52010UL, 0x3434UL};
    const auto type = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFUL;
    return std::find(std::begin(kCopyOnWrite), std::end(kCopyOnWrite), type) == std::end(kCopyOnWrite);
}

} // namespace

bool overwriteReaches(int fd)
{
    struct statfs fs {};
    return fstatfs(fd, &fs) != 0 || reachesOn(fs);
}

bool overwriteReachesPath(const std::string& path)
{
    struct statfs fs {};
    return statfs(path.c_str(), &fs) != 0 || reachesOn(fs);
}

int renameNoReplace(int fromDir, const char* from, int toDir, const char* to)
{
    if (renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    struct stat st {};
    if (fstatat(toDir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return renameat(fromDir, from, toDir, to) == 0 ? 0 : errno;
}

int removeEntryAt(int dirFd, const char* name)
{
    // unlinkat without AT_REMOVEDIR never removes a folder: tried first, it spares a file an lstat.
    if (unlinkat(dirFd, name, 0) == 0)
        return 0;
    const int unlinkError = errno;
    struct stat st {};
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return unlinkError;
    if (unlinkat(dirFd, name, AT_REMOVEDIR) == 0)
        return 0;
    if (errno != ENOTEMPTY && errno != EEXIST)
        return errno;
    return removeTreeAt(dirFd, name);
}

int moveEntry(int fromDir, const char* name, int toDir, const char* toName)
{
    const int error = renameNoReplace(fromDir, name, toDir, toName);
    return error == EXDEV ? moveAcross(fromDir, name, toDir, toName) : error;
}

} // namespace bw::posix
