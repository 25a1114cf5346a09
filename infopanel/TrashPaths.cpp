// The file being deleted, as the information panel shows it, and the resolution of a
// trash item's name to its full path and its trash's size counter.
#include "infopanel/Volume.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "deletion/Shredder.h"
#include "platform/MainLoop.h"
#include "platform/Platform.h"
#include "platform/posix/Files.h"

#include <sys/stat.h>

namespace bw {

namespace {

// Existence as a file manager sees it: links are followed, so a dangling one is not there.
bool existsFollowingLinks(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

} // namespace

// --- the file being deleted

void Volume::dispShredFileWithPath(const std::string& path)
{
    queueShredFile(path);
}

void Volume::clearShredFile()
{
    queueShredFile(std::nullopt);
}

void Volume::queueShredFile(std::optional<std::string> path)
{
    // Always through the main loop, even from the main thread: a clear is then never
    // overtaken by a file that a deleting worker reported just before it.
    std::lock_guard lock(shredFilesMutex_);
    shredFiles_.push_back(std::move(path));
    if (shredFiles_.size() == 1)
        platform_.mainLoop->post([this] { applyShredFiles(); });
}

void Volume::applyShredFiles()
{
    std::vector<std::optional<std::string>> files;
    {
        std::lock_guard lock(shredFilesMutex_);
        files.swap(shredFiles_);
    }
    InfoPanelView* panel = platform_.infoPanel;
    if (!panel)
        return;
    for (const auto& file : files) {
        if (!file)
            panel->setShredFileText({});
        else if (const auto shown = shownTextOf(*file))
            panel->setShredFileText(*shown);
    }
}

// The path below the item folder that holds `path`, when that trash is the chosen
// volume's; none otherwise (the field then keeps its text).
std::optional<std::string> Volume::shownTextOf(const std::string& path) const
{
    const int index = selectedVolume();
    const std::string volume = index > 0 ? outExternal_->volumePathWithDrive(index - 1) : std::string();
    if (index < 0 || (index > 0 && volume.empty()))
        return std::nullopt;
    for (const TrashLayout* layout : trashLayouts())
        if (auto shown = layout->pathInTrash(path, volume, outInternal_->owner()))
            return shown;
    return std::nullopt;
}

// --- a trash item's name to its path and counter

std::optional<DeletionItem> Volume::fullPathOfTrashFile(const std::string& name)
{
    if (!posix::isPlainName(name))
        return std::nullopt;
    const auto found = [&name](const std::vector<ItemFolder>& folders) -> std::optional<std::string> {
        for (const auto& folder : folders) {
            const std::string path = posix::joinPath(folder.path, name);
            if (existsFollowingLinks(path))
                return path;
        }
        return std::nullopt;
    };
    if (const auto path = found(outInternal_->itemFolders()))
        return DeletionItem{*path, outInternal_->trashSizePointer()};
    // Every item folder of every volume trash, in list order: the first match wins.
    for (const auto& volume : outExternal_->volumePaths())
        if (const auto path = found(outExternal_->itemFoldersAtPath(volume)))
            return DeletionItem{*path, outExternal_->trashSizePtrAtPath(volume)};
    return std::nullopt;
}

} // namespace bw
