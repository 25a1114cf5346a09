#include "accounting/TrashFolders.h"

#include "platform/posix/Files.h"

#include <algorithm>
#include <sys/stat.h>

namespace bw {

namespace {

std::optional<dev_t> deviceOf(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st.st_dev;
}

std::vector<ItemFolder> allHomeFolders(const TrashOwner& owner)
{
    std::vector<ItemFolder> folders;
    for (const TrashLayout* layout : trashLayouts())
        for (auto& folder : layout->homeFolders(owner))
            folders.push_back(std::move(folder));
    return folders;
}

} // namespace

std::vector<ItemFolder> homeItemFolders(const TrashOwner& owner,
                                        const std::function<std::vector<std::string>()>& volumePaths)
{
    const auto startup = deviceOf(startupAnchor(owner));
    std::vector<ItemFolder> folders = allHomeFolders(owner);
    std::optional<std::vector<std::string>> volumes;
    std::erase_if(folders, [&](const ItemFolder& folder) {
        const auto device = deviceOf(posix::parentPath(folder.path));
        if (!device || device == startup)
            return false;
        if (!volumes)
            volumes = volumePaths();
        return std::any_of(volumes->begin(), volumes->end(), [&](const auto& v) { return deviceOf(v) == device; });
    });
    return folders;
}

std::vector<ItemFolder> volumeItemFolders(const std::string& volumePath, const TrashOwner& owner)
{
    std::vector<ItemFolder> folders;
    for (const TrashLayout* layout : trashLayouts())
        for (auto& folder : layout->volumeFolders(volumePath, owner))
            folders.push_back(std::move(folder));
    const auto volume = deviceOf(volumePath);
    if (volume && volume != deviceOf(startupAnchor(owner)))
        for (auto& folder : allHomeFolders(owner))
            if (deviceOf(posix::parentPath(folder.path)) == volume)
                folders.push_back(std::move(folder));
    return folders;
}

bool addWatchesOf(const std::vector<ItemFolder>& folders, size_t perTrash, TrashWatch& watch)
{
    std::vector<const ItemFolder*> ordered;
    for (const auto& folder : folders)
        ordered.push_back(&folder);
    std::stable_partition(ordered.begin(), ordered.end(), [](const ItemFolder* f) { return f->isOwn; });
    const size_t before = watch.contents.size();
    for (const ItemFolder* folder : ordered) {
        if (watch.contents.size() - before >= perTrash)
            return false;
        folder->layout->addWatches(*folder, watch);
    }
    return true;
}

} // namespace bw
