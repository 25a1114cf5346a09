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

} // namespace

RootItemQueue::FolderStamp RootItemQueue::stampOf(const std::string& folderPath)
{
    FolderStamp stamp;
    const auto st = posix::lstatPath(folderPath);
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

void RootItemQueue::fill(std::vector<ItemFolder> folders)
{
    folders_ = std::move(folders);
    stamps_.clear();
    heap_.clear();
    size_t listed = 0;
    for (size_t index = 0; index < folders_.size(); ++index) {
        const ItemFolder& folder = folders_[index];
        // Stamped before the listing: a change made while it is read shows at the next step.
        stamps_.push_back(stampOf(folder.path));
        std::vector<std::string> names;
        // Never through a link: a folder swapped for one since it was checked lists nothing.
        if (const int fd = posix::openDirectoryNoFollow(folder.path); fd >= 0) {
            names = posix::listDirectoryAt(fd);
            close(fd);
        }
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
        if (!(stampOf(folders_[i].path) == stamps_[i]))
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
        stamps_[index] = stampOf(folders_[index].path);
}

} // namespace bw
