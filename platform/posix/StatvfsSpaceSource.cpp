#include "platform/posix/StatvfsSpaceSource.h"

#include <sys/statvfs.h>

namespace bw::posix {

SpaceFigures StatvfsSpaceSource::figures(const std::string& path)
{
    struct statvfs vfs {};
    if (statvfs(path.c_str(), &vfs) != 0)
        return {};
    const auto unit = static_cast<double>(vfs.f_frsize);
    return {static_cast<double>(vfs.f_blocks) * unit, static_cast<double>(vfs.f_bavail) * unit};
}

} // namespace bw::posix
