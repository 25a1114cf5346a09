#include "platform/posix/ResourceForkXattr.h"

#include <cerrno>
#include <sys/xattr.h>

namespace bw::posix {

std::optional<std::vector<unsigned char>> readResourceFork(int fd)
{
    // The value may change between asking its size and reading it: ask again on ERANGE.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = fgetxattr(fd, kResourceForkAttribute, nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::vector<unsigned char> value(static_cast<size_t>(size));
        const ssize_t got = fgetxattr(fd, kResourceForkAttribute, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<size_t>(got));
            return value;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

bool writeResourceFork(int fd, const std::vector<unsigned char>& value)
{
    return fsetxattr(fd, kResourceForkAttribute, value.data(), value.size(), 0) == 0;
}

} // namespace bw::posix
