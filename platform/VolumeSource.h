#pragma once
#include <string>
#include <vector>

namespace bw {

// The volumes whose trashes are watched besides the home trash: mounted, local and
// writable by the user, never the file system that holds the home trash. Asked afresh at
// every call, in mount order, so that a mount or unmount is seen at once.
class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    virtual std::vector<std::string> volumePaths() = 0;
    // What the settings of the volume mounted at `mountPoint` are kept under, so that they
    // follow the disk: its file system's UUID where the system gives one, else the mount point.
    virtual std::string volumeKey(const std::string& mountPoint) { return mountPoint; }
};

} // namespace bw
