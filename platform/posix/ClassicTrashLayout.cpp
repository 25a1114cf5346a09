#include "platform/posix/TrashLayouts.h"

#include "platform/posix/Files.h"

#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::posix {

namespace {

constexpr const char* kHomeTrash = ".Trash";
constexpr const char* kVolumeTrash = ".Trashes";

std::optional<uid_t> uidNamed(const std::string& name)
{
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos || name.size() > 9)
        return std::nullopt;
    return static_cast<uid_t>(std::strtoul(name.c_str(), nullptr, 10));
}

bool isAccount(uid_t uid)
{
    return getpwuid(uid) != nullptr;
}

// Whether a per-user folder's name (a uid or a user name) is an account of this machine.
bool isAccountNamed(const std::string& name)
{
    const auto uid = uidNamed(name);
    return uid ? isAccount(*uid) : getpwnam(name.c_str()) != nullptr;
}

bool isOwnName(const std::string& name, const TrashOwner& owner)
{
    return name == std::to_string(owner.uid) || (!owner.userName.empty() && name == owner.userName);
}

// The date a classic item carries: its own modification date, never a link's target's.
std::optional<TimePoint> modificationDate(int folderFd, const std::string& name)
{
    struct stat st {};
    if (folderFd < 0 || fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return timePointOf(st.st_mtim);
}

class ClassicTrashLayout final : public TrashLayout {
public:
    std::vector<ItemFolder> homeFolders(const TrashOwner& owner) const override
    {
        const std::string path = joinPath(owner.homeDirectory, kHomeTrash);
        const auto st = lstatPath(path);
        if (!st)
            return {};
        ItemFolder folder{path, "", this, "", true};
        if (S_ISLNK(st->st_mode))
            folder.refusal = "is a symbolic link";
        else if (st->st_uid != owner.uid)
            folder.refusal = "is not owned by this user";
        else if (!S_ISDIR(st->st_mode))
            return {};
        return {folder};
    }

    std::vector<ItemFolder> volumeFolders(const std::string& volumePath, const TrashOwner& owner) const override
    {
        const std::string trash = joinPath(volumePath, kVolumeTrash);
        const auto st = lstatPath(trash);
        if (!st)
            return {};
        if (S_ISLNK(st->st_mode))
            return {ItemFolder{trash, "", this, "is a symbolic link", true}};
        const int fd = openDirectoryNoFollow(trash);
        if (fd < 0)
            return {};
        std::vector<ItemFolder> folders;
        for (const auto& user : listDirectoryAt(fd)) {
            struct stat userSt {};
            if (fstatat(fd, user.c_str(), &userSt, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            // Another account of this machine has its own trash here: never ours to empty.
            if (isOtherAccountsFolder(user, userSt.st_uid, owner))
                continue;
            ItemFolder folder{joinPath(trash, user), user + "/", this, "", isOwnName(user, owner)};
            if (S_ISLNK(userSt.st_mode))
                folder.refusal = "is a symbolic link";
            else if (!S_ISDIR(userSt.st_mode))
                continue;
            folders.push_back(std::move(folder));
        }
        close(fd);
        return folders;
    }

    std::vector<std::optional<TimePoint>> itemDates(const ItemFolder& folder,
                                                    const std::vector<std::string>& names) const override
    {
        const int fd = openDirectoryNoFollow(folder.path);
        std::vector<std::optional<TimePoint>> dates;
        dates.reserve(names.size());
        for (const auto& name : names)
            dates.push_back(modificationDate(fd, name));
        if (fd >= 0)
            close(fd);
        return dates;
    }

    // A classic item's date is its own modification time.
    std::optional<TimePoint> dateOf(const ItemFolder&, const std::string&, const struct stat& seen) const override
    {
        return timePointOf(seen.st_mtim);
    }

    // A classic item carries nothing beside itself.
    std::optional<std::string> originalLocation(const ItemFolder&, const std::string&) const override
    {
        return std::nullopt;
    }
    void removeCompanions(const ItemFolder&, const std::string&, Log&) const override {}
    void removeOrphans(const ItemFolder&, Log&) const override {}

    void addWatches(const ItemFolder& folder, TrashWatch& watch) const override
    {
        watch.contents.push_back(folder.path);
    }

    void addHomeParents(const TrashOwner& owner, TrashWatch& watch) const override
    {
        watch.parents.push_back({owner.homeDirectory, kHomeTrash});
    }

    void addVolumeParents(const std::string& volumePath, const TrashOwner&, TrashWatch& watch) const override
    {
        watch.parents.push_back({volumePath, kVolumeTrash});
        const std::string trash = joinPath(volumePath, kVolumeTrash);
        if (isRealFolder(trash))
            watch.parents.push_back({trash, ""});
    }

    std::optional<std::string> pathInTrash(const std::string& path, const std::string& volumePath,
                                           const TrashOwner& owner) const override
    {
        if (volumePath.empty())
            return pathBelow(joinPath(owner.homeDirectory, kHomeTrash), path);
        const auto inShared = pathBelow(joinPath(volumePath, kVolumeTrash), path);
        if (!inShared)
            return std::nullopt;
        // The first component is the per-user folder.
        const auto slash = inShared->find('/');
        return slash == std::string::npos ? std::string() : inShared->substr(slash + 1);
    }

    bool isRepairableFolder(const std::string& folder, const std::string& volumePath,
                            const TrashOwner& owner) const override
    {
        if (volumePath.empty())
            return folder == joinPath(owner.homeDirectory, kHomeTrash);
        if (parentPath(folder) != joinPath(volumePath, kVolumeTrash))
            return false;
        const std::string name = lastComponent(folder);
        return isOwnName(name, owner) || !isAccountNamed(name);
    }
};

} // namespace

bool isOtherAccountsFolder(const std::string& name, uid_t ownerUid, const TrashOwner& owner)
{
    if (isOwnName(name, owner))
        return false;
    if (isAccountNamed(name))
        return true;
    // A folder named by no account but owned by one (root aside, which owns shared folders).
    return ownerUid != owner.uid && ownerUid != 0 && isAccount(ownerUid);
}

std::string classicVolumeTrash(const std::string& volumePath)
{
    return joinPath(volumePath, kVolumeTrash);
}

const TrashLayout& classicLayout()
{
    static const ClassicTrashLayout layout;
    return layout;
}

} // namespace bw::posix
