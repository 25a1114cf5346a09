#include "privileges/helper/UserTrash.h"

#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"

#include <algorithm>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace bw::repair {

namespace {

// mountinfo escapes blanks, tabs, line feeds and backslashes as \ooo.
std::string unescapeMountPath(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            out += static_cast<char>(std::strtol(field.substr(i + 1, 3).c_str(), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

} // namespace

TrashFolderKind trashFolderKind(const std::string& folder, const TrashOwner& user,
                                const std::vector<std::string>& mountPoints)
{
    const auto isRepairable = [&](const std::string& volumePath) {
        const auto& layouts = trashLayouts();
        return std::any_of(layouts.begin(), layouts.end(),
                           [&](const TrashLayout* layout) { return layout->isRepairableFolder(folder, volumePath, user); });
    };
    if (isRepairable({}))
        return TrashFolderKind::Own;
    for (const auto& mount : mountPoints) {
        if (folder == posix::classicVolumeTrash(mount))
            return TrashFolderKind::SharedRoot;
        if (isRepairable(mount))
            return TrashFolderKind::Own;
    }
    return TrashFolderKind::None;
}

TrashFolderKind trashPlaceOf(const std::string& path, const TrashOwner& user,
                             const std::vector<std::string>& mountPoints)
{
    const TrashFolderKind own = trashFolderKind(path, user, mountPoints);
    if (own != TrashFolderKind::None)
        return own;
    // Inside a shared root or another user's folder is outside: only an own folder above counts.
    for (std::string folder = posix::parentPath(path); folder.size() > 1; folder = posix::parentPath(folder))
        if (trashFolderKind(folder, user, mountPoints) == TrashFolderKind::Own)
            return TrashFolderKind::Own;
    return TrashFolderKind::None;
}

std::vector<std::string> mountPoints()
{
    std::vector<std::string> points;
    std::ifstream mountinfo("/proc/self/mountinfo");
    std::string line;
    while (std::getline(mountinfo, line)) {
        std::istringstream fields(line);
        std::string id, parent, devices, root, mountPoint;
        if (fields >> id >> parent >> devices >> root >> mountPoint)
            points.push_back(unescapeMountPath(mountPoint));
    }
    return points;
}

} // namespace bw::repair
