#pragma once
#include <string>

namespace bw::posix {

// What a volume's own settings are stored under: its file system's UUID, as the links of
// `byUuidFolder` name the block devices, so that they follow the disk wherever it is
// mounted; else its mount point (a tmpfs, a file system without a UUID).
std::string volumeKeyOf(const std::string& mountPoint, const std::string& byUuidFolder = "/dev/disk/by-uuid");

} // namespace bw::posix
