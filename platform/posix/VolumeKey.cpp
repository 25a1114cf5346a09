#include "platform/posix/VolumeKey.h"

#include "platform/posix/Files.h"

#include <sys/stat.h>

namespace bw::posix {

std::string volumeKeyOf(const std::string& mountPoint, const std::string& byUuidFolder)
{
    struct stat mounted {};
    if (stat(mountPoint.c_str(), &mounted) != 0)
        return mountPoint;
    for (const auto& uuid : listDirectory(byUuidFolder)) {
        struct stat device {};
        // The link is followed to the device node it names.
        if (stat(joinPath(byUuidFolder, uuid).c_str(), &device) == 0 && S_ISBLK(device.st_mode) &&
            device.st_rdev == mounted.st_dev)
            return "UUID=" + uuid;
    }
    return mountPoint;
}

} // namespace bw::posix
