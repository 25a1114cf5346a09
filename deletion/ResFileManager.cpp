#include "deletion/ResFileManager.h"

#include "platform/posix/Files.h"
#include "platform/posix/ResourceForkXattr.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

ResFileManager::ResFileManager(const Platform& platform) : platform_(platform) {}

ResFileManager::~ResFileManager()
{
    closeFork();
}

int32_t ResFileManager::openFork(const std::string& path)
{
    const int dirFd = posix::openDirectoryNoFollow(posix::parentPath(path));
    if (dirFd < 0)
        return openForkOn(-1);
    const std::string name = posix::lastComponent(path);
    struct stat st {};
    int fd = -1;
    if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        fd = posix::openSameFileAt(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK, st);
    close(dirFd);
    const int32_t ref = openForkOn(fd);
    if (fd >= 0)
        close(fd);
    return ref;
}

int32_t ResFileManager::openForkOn(int fd)
{
    // At most one fork is open: a new open lets go of the earlier one.
    closeFork();
    if (fd < 0)
        return 0;
    auto value = posix::readResourceFork(fd);
    if (!value)
        return 0;
    fd_ = fcntl(fd, F_DUPFD_CLOEXEC, 1);
    if (fd_ < 0)
        return 0;
    value_ = std::move(*value);
    forkSize_ = static_cast<int64_t>(value_.size());
    // Duplicated to 1 or above, so the reference is never 0 while a fork is open.
    refNumber_ = fd_;
    return refNumber_;
}

int64_t ResFileManager::writeData(const unsigned char* data, size_t length)
{
    if (refNumber_ == 0 || length == 0)
        return 0;
    std::vector<unsigned char> updated = value_;
    const size_t offset = static_cast<size_t>(writeOffset_);
    updated.resize(std::max(updated.size(), offset + length));
    std::memcpy(updated.data() + offset, data, length);
    if (!posix::writeResourceFork(fd_, updated))
        return 0;
    value_ = std::move(updated);
    writeOffset_ += static_cast<int64_t>(length);
    return static_cast<int64_t>(length);
}

void ResFileManager::closeFork()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    refNumber_ = 0;
    writeOffset_ = 0;
    forkSize_ = 0;
    value_.clear();
}

} // namespace bw
