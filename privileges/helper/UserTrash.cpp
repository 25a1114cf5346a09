#include "privileges/helper/UserTrash.h"

#include "platform/posix/Files.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>

namespace bw::repair {

namespace {

bool isKnownAccount(const std::string& name)
{
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return true;
    char* end = nullptr;
    const unsigned long uid = std::strtoul(name.c_str(), &end, 10);
    return !name.empty() && *end == '\0' &&
           getpwuid_r(static_cast<uid_t>(uid), &entry, buffer.data(), buffer.size(), &found) == 0 && found;
}

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

TrashFolderKind trashFolderKind(const std::string& folder, const TrashUser& user,
                                const std::vector<std::string>& mountPoints)
{
    const std::string uid = std::to_string(user.uid);
    const std::string xdg = posix::joinPath(user.home, ".local/share/Trash");
    if (folder == posix::joinPath(user.home, ".Trash") || folder == posix::joinPath(xdg, "files") ||
        folder == posix::joinPath(xdg, "info"))
        return TrashFolderKind::Own;
    const std::string parent = posix::parentPath(folder);
    const std::string name = posix::lastComponent(folder);
    for (const auto& mount : mountPoints) {
        const std::string trashes = posix::joinPath(mount, ".Trashes");
        if (folder == trashes)
            return TrashFolderKind::SharedRoot;
        if (parent == trashes)
            return name == user.name || name == uid || !isKnownAccount(name) ? TrashFolderKind::Own
                                                                               : TrashFolderKind::None;
        if ((name == "files" || name == "info") &&
            (parent == posix::joinPath(mount, ".Trash-" + uid) ||
             parent == posix::joinPath(posix::joinPath(mount, ".Trash"), uid)))
            return TrashFolderKind::Own;
    }
    return TrashFolderKind::None;
}

TrashFolderKind trashPlaceOf(const std::string& path, const TrashUser& user,
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
