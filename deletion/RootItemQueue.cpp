#include "deletion/RootItemQueue.h"

#include "deletion/OldestItem.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

namespace {

// The heap's order: std::push_heap keeps the greatest on top, so "less" is "ranks after".
bool ranksAfter(const RootItemQueue::Entry& a, const RootItemQueue::Entry& b)
{
    return ranksBefore(b.date, b.listed, a.date, a.listed);
}

long long nanoseconds(const struct timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

RootItemQueue::FolderStamp stampFrom(const std::optional<struct stat>& st)
{
    RootItemQueue::FolderStamp stamp;
    if (!st)
        return stamp;
    stamp.present = true;
    stamp.isFolder = S_ISDIR(st->st_mode);
    stamp.device = st->st_dev;
    stamp.inode = st->st_ino;
    stamp.links = st->st_nlink;
    stamp.size = st->st_size;
    stamp.modified = nanoseconds(st->st_mtim);
    stamp.changed = nanoseconds(st->st_ctim);
    return stamp;
}

} // namespace

RootItemQueue::FolderStamp RootItemQueue::stampOf(const std::string& folderPath)
{
    return stampFrom(posix::lstatPath(folderPath));
}

RootItemQueue::~RootItemQueue()
{
    closeFolders();
}

void RootItemQueue::closeFolders()
{
    for (const int fd : folderFds_)
        if (fd >= 0)
            close(fd);
    folderFds_.clear();
}

void RootItemQueue::fill(std::vector<ItemFolder> folders, const std::string& trustedFolder)
{
    folders_ = std::move(folders);
    stamps_.clear();
    heap_.clear();
    closeFolders();
    size_t listed = 0;
    for (size_t index = 0; index < folders_.size(); ++index) {
        const ItemFolder& folder = folders_[index];
        // Stamped before the listing: a change made while it is read shows at the next step.
        folderFds_.push_back(holdsFolders_ ? posix::openFolderWithoutLinks(folder.path, trustedFolder) : -1);
        stamps_.push_back(currentStamp(index));
        std::vector<std::string> names;
        // Never through a link: a folder swapped for one since it was checked lists nothing.
        const int kept = folderFds_.back();
        const int fd = kept >= 0 ? kept : posix::openDirectoryNoFollow(folder.path);
        if (fd >= 0)
            names = posix::listDirectoryAt(fd);
        if (fd >= 0 && fd != kept)
            close(fd);
        std::erase_if(names, [](const std::string& name) { return !posix::isPlainName(name); });
        const auto dates = folder.layout->itemDates(folder, names);
        for (size_t i = 0; i < names.size(); ++i)
            heap_.push_back({dates[i], listed++, index, std::move(names[i])});
    }
    std::make_heap(heap_.begin(), heap_.end(), ranksAfter);
    filled_ = true;
}

bool RootItemQueue::needsListing() const
{
    if (!filled_)
        return true;
    for (size_t i = 0; i < folders_.size(); ++i)
        if (!(currentStamp(i) == stamps_[i]))
            return true;
    return false;
}

RootItemQueue::Entry RootItemQueue::pop()
{
    std::pop_heap(heap_.begin(), heap_.end(), ranksAfter);
    Entry entry = std::move(heap_.back());
    heap_.pop_back();
    return entry;
}

void RootItemQueue::push(Entry entry)
{
    heap_.push_back(std::move(entry));
    std::push_heap(heap_.begin(), heap_.end(), ranksAfter);
}

void RootItemQueue::noteOwnChange(size_t index)
{
    if (index < stamps_.size())
        stamps_[index] = currentStamp(index);
}

// A folder held open is stamped through its descriptor: the pass deletes in that folder, so
// its changes are what count, and renaming it away changes it too. One that could not be
// opened is stamped by its path, so that its coming into being shows.
RootItemQueue::FolderStamp RootItemQueue::currentStamp(size_t index) const
{
    const int fd = folderFds_[index];
    if (fd < 0)
        return stampOf(folders_[index].path);
    struct stat st {};
    return stampFrom(fstat(fd, &st) == 0 ? std::optional(st) : std::nullopt);
}

} // namespace bw
