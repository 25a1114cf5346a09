#pragma once
#include "platform/TrashLayout.h"
#include "platform/VolumeSource.h"

#include <string>
#include <string_view>
#include <vector>

namespace bw::posix {

// One line of /proc/self/mountinfo, with the mount point decoded.
struct MountEntry {
    std::string mountPoint;
    std::string fileSystemType;
    std::string source;
    bool readOnly = false; // per-mount or super-block option "ro"
};

// Parses the text of a mountinfo file; lines that do not parse are skipped.
std::vector<MountEntry> parseMountinfo(std::string_view text);

// Decodes the octal escapes ("\040" for a space) that mountinfo writes in paths.
std::string decodeMountPath(std::string_view field);

// Whether a mount is a local disk worth watching by its type, source and place: block
// devices and local disk file systems; no network, no pseudo file systems; a tmpfs only
// where a user mounts one (not under /dev, /run, /tmp and the other system folders).
bool isLocalVolume(const MountEntry& entry);

// The watched volumes of this machine from /proc/self/mountinfo: mounted read-write, local,
// and either writable by the user or holding one of the user's trash folders. The startup
// volume (the file system that holds the home trash) is left out.
class MountinfoVolumeSource final : public VolumeSource {
public:
    explicit MountinfoVolumeSource(TrashOwner owner, std::string mountinfoPath = "/proc/self/mountinfo");
    std::vector<std::string> volumePaths() override;
    std::string volumeKey(const std::string& mountPoint) override;

private:
    bool holdsTrashOf(const std::string& mountPoint) const;

    TrashOwner owner_;
    std::string mountinfoPath_;
};

} // namespace bw::posix
