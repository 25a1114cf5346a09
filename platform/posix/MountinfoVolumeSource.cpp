#include "platform/posix/MountinfoVolumeSource.h"

#include "platform/posix/VolumeKey.h"

#include "platform/posix/Files.h"

#include <array>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace bw::posix {

namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// `path` is `folder` itself or lies below it.
bool isAtOrBelow(std::string_view path, std::string_view folder)
{
    return path == folder || (startsWith(path, folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

bool hasOption(std::string_view options, std::string_view wanted)
{
    std::string_view rest = options;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        if (rest.substr(0, comma) == wanted)
            return true;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return false;
}

bool isNetworkType(std::string_view type)
{
    static constexpr std::array<std::string_view, 13> network = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "coda", "9p", "ceph", "glusterfs", "lustre", "davfs",
    };
    for (auto t : network)
        if (type == t)
            return true;
    return false;
}

// Local disk file systems whose source is not always a device path.
bool isDevicelessDiskType(std::string_view type)
{
    return type == "zfs" || type == "btrfs" || type == "bcachefs";
}

// A tmpfs is a system's scratch space unless a user mounted it in a place of their own.
bool isUserPlace(std::string_view mountPoint)
{
    static constexpr std::array<std::string_view, 12> systemFolders = {
        "/dev", "/proc", "/sys", "/run", "/tmp", "/var", "/boot", "/etc", "/usr", "/lib", "/snap", "/opt",
    };
    if (mountPoint == "/")
        return false;
    if (isAtOrBelow(mountPoint, "/run/media"))
        return true;
    for (auto folder : systemFolders)
        if (isAtOrBelow(mountPoint, folder))
            return false;
    return true;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start < line.size()) {
        const auto end = line.find(' ', start);
        const auto stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start)
            fields.push_back(line.substr(start, stop - start));
        start = stop + 1;
    }
    return fields;
}

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

} // namespace

std::string decodeMountPath(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::vector<MountEntry> parseMountinfo(std::string_view text)
{
    std::vector<MountEntry> entries;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        const auto fields = splitFields(line);
        // id parent major:minor root mount-point options [optional...] - type source super-options
        size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        if (dash + 2 >= fields.size())
            continue;
        MountEntry entry;
        entry.mountPoint = decodeMountPath(fields[4]);
        entry.fileSystemType = std::string(fields[dash + 1]);
        entry.source = decodeMountPath(fields[dash + 2]);
        const std::string_view superOptions = dash + 3 < fields.size() ? fields[dash + 3] : std::string_view();
        entry.readOnly = hasOption(fields[5], "ro") || hasOption(superOptions, "ro");
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool isLocalVolume(const MountEntry& entry)
{
    const std::string_view type = entry.fileSystemType;
    if (isNetworkType(type))
        return false;
    if (type == "tmpfs")
        return isUserPlace(entry.mountPoint);
    // fuse.sshfs and the like name a host, not a device, so the source test keeps them out;
    // proc, sysfs, cgroup, overlay and the other pseudo file systems have no device either.
    return startsWith(entry.source, "/dev/") || isDevicelessDiskType(type);
}

MountinfoVolumeSource::MountinfoVolumeSource(TrashOwner owner, std::string mountinfoPath)
    : owner_(std::move(owner)), mountinfoPath_(std::move(mountinfoPath))
{
}

bool MountinfoVolumeSource::holdsTrashOf(const std::string& mountPoint) const
{
    for (const TrashLayout* layout : trashLayouts())
        for (const auto& folder : layout->volumeFolders(mountPoint, owner_))
            if (folder.isOwn)
                return true;
    return false;
}

std::vector<std::string> MountinfoVolumeSource::volumePaths()
{
    std::ifstream in(mountinfoPath_);
    std::stringstream text;
    text << in.rdbuf();

    // lstat: a home trash that is a link still lies on the home's file system, and the
    // volume it points to is watched like any other.
    struct stat home {};
    const bool knowsHome = lstat(startupAnchor(owner_).c_str(), &home) == 0;
    std::set<dev_t> seen;
    if (knowsHome)
        seen.insert(home.st_dev);

    std::vector<std::string> paths;
    for (const auto& entry : parseMountinfo(text.str())) {
        if (entry.readOnly || !isLocalVolume(entry))
            continue;
        struct stat st {};
        struct statvfs vfs {};
        if (stat(entry.mountPoint.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        // The startup volume, and a file system already listed under another mount point
        // (a bind mount): one trash, one set of books. Known before any costlier look.
        if (seen.count(st.st_dev) != 0)
            continue;
        if (statvfs(entry.mountPoint.c_str(), &vfs) != 0 || (vfs.f_flag & ST_RDONLY) != 0)
            continue;
        // A root the user cannot write ("/" seen from a bind mount, say) still counts when
        // the user trashed something there earlier.
        if (access(entry.mountPoint.c_str(), W_OK) != 0 && !holdsTrashOf(entry.mountPoint))
            continue;
        seen.insert(st.st_dev);
        paths.push_back(entry.mountPoint);
    }
    return paths;
}

std::string MountinfoVolumeSource::volumeKey(const std::string& mountPoint)
{
    return volumeKeyOf(mountPoint);
}

} // namespace bw::posix
