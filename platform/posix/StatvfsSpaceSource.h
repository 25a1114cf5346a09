#pragma once
#include "platform/SpaceSource.h"

namespace bw::posix {

// statvfs: capacity f_blocks * f_frsize, free f_bavail * f_frsize.
class StatvfsSpaceSource final : public SpaceSource {
public:
    SpaceFigures figures(const std::string& path) override;
};

} // namespace bw::posix
