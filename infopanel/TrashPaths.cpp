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

// The part of `path` below `folder`; none when the path does not lie inside it.
std::optional<std::string> below(const std::string& folder, const std::string& path)
{
    if (folder.empty() || path.size() <= folder.size() + 1 || path.compare(0, folder.size(), folder) != 0 ||
        path[folder.size()] != '/')
        return std::nullopt;
    return path.substr(folder.size() + 1);
}



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

// The path below the trash folder that holds `path`, when that trash is the chosen
// volume's; none otherwise (the field then keeps its text).
std::optional<std::string> Volume::shownTextOf(const std::string& path) const
{
    const int index = selectedVolume();
    if (index == 0)
        return below(outInternal_->trashPath(), path);
    if (index < 0)
        return std::nullopt;
    const std::string trash = outExternal_->trashPathWithDrive(index - 1);
    const auto inTrash = below(trash, path);
    if (!inTrash)
        return std::nullopt;
    // The first component is the per-user folder.
    const auto slash = inTrash->find('/');
    return slash == std::string::npos ? std::string() : inTrash->substr(slash + 1);
}

// --- a trash item's name to its path and counter

std::optional<DeletionItem> Volume::fullPathOfTrashFile(const std::string& name)
{
    if (!posix::isPlainName(name))
        return std::nullopt;
    const std::string& home = outInternal_->trashPath();
    if (posix::isRealFolder(home)) {
        const std::string path = posix::joinPath(home, name);
        if (existsFollowingLinks(path))
            return DeletionItem{path, outInternal_->trashSizePointer()};
    }
    // Every user's folder of every volume trash, in list order: the first match wins.
    for (const auto& trash : outExternal_->trashPaths()) {
        for (const auto& user : outExternal_->directoryContentsAtPath(trash)) {
            const std::string folder = posix::joinPath(trash, user);
            const std::string path = posix::joinPath(folder, name);
            if (posix::isRealFolder(folder) && existsFollowingLinks(path))
                return DeletionItem{path, outExternal_->trashSizePtrAtPath(posix::parentPath(trash))};
        }
    }
    return std::nullopt;
}

} // namespace bw
