#include "platform/posix/FileFlags.h"

#include "platform/posix/Files.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::posix {

namespace {

int openForFlags(int dirFd, const char* name, struct stat* opened = nullptr)
{
    struct stat st {};
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return -1;
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return -1;
    return openSameFileAt(dirFd, name, O_RDONLY | O_NONBLOCK, st, opened);
}

bool changeImmutable(int dirFd, const char* name, bool on)
{
    struct stat st {};
    const int fd = openForFlags(dirFd, name, &st);
    if (fd < 0)
        return false;
    // A file's other links lie outside the trash, and the flag is the inode's: it stays.
    if (!on && !S_ISDIR(st.st_mode) && st.st_nlink > 1) {
        close(fd);
        return false;
    }
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok && ((flags & FS_IMMUTABLE_FL) != 0) != on) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return ok;
}

} // namespace

bool clearImmutableAt(int dirFd, const char* name)
{
    // statx tells without opening the file whether the flag is set, where the file system
    // reports it; only a locked entry is then opened.
    struct statx sx {};
    if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE, &sx) == 0 &&
        (sx.stx_attributes_mask & STATX_ATTR_IMMUTABLE) != 0 && (sx.stx_attributes & STATX_ATTR_IMMUTABLE) == 0)
        return true;
    return changeImmutable(dirFd, name, false);
}

bool setImmutableAt(int dirFd, const char* name)
{
    return changeImmutable(dirFd, name, true);
}

bool isImmutableAt(int dirFd, const char* name)
{
    const int fd = openForFlags(dirFd, name);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool set = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL) != 0;
    close(fd);
    return set;
}

} // namespace bw::posix
