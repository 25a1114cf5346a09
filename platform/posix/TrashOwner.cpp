#include "platform/posix/TrashLayouts.h"

#include "platform/posix/Files.h"

#include <pwd.h>
#include <unistd.h>

namespace bw {

const std::vector<const TrashLayout*>& trashLayouts()
{
    static const std::vector<const TrashLayout*> layouts{&posix::classicLayout(), &posix::freedesktopLayout()};
    return layouts;
}

std::optional<std::string> pathBelow(const std::string& folder, const std::string& path)
{
    if (folder.empty() || path.size() <= folder.size() + 1 || path.compare(0, folder.size(), folder) != 0 ||
        path[folder.size()] != '/')
        return std::nullopt;
    return path.substr(folder.size() + 1);
}

void TrashWatch::append(const TrashWatch& other)
{
    contents.insert(contents.end(), other.contents.begin(), other.contents.end());
    parents.insert(parents.end(), other.parents.begin(), other.parents.end());
}

std::string startupAnchor(const TrashOwner& owner)
{
    for (const auto& folder : posix::classicLayout().homeFolders(owner))
        if (folder.refusal.empty())
            return folder.path;
    return owner.homeDirectory;
}

TrashOwner currentTrashOwner(const std::string& homeDirectory, const std::string& dataHome)
{
    TrashOwner owner;
    owner.uid = geteuid();
    if (const passwd* account = getpwuid(owner.uid))
        owner.userName = account->pw_name;
    owner.homeDirectory = homeDirectory;
    owner.dataHome = dataHome;
    if (owner.dataHome.empty() || owner.dataHome[0] != '/')
        owner.dataHome = posix::joinPath(homeDirectory, ".local/share");
    return owner;
}

} // namespace bw
