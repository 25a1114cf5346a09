#pragma once
#include "platform/Clock.h"
#include "platform/TrashLayout.h"

#include <cstddef>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace bw {

// The root items of one trash in the order an automatic pass deletes them, oldest first
// (deletion/OldestItem.h). The trash is listed and its dates read once; the queue is then
// kept for as long as nobody but the pass changes the trash's item folders.
class RootItemQueue {
public:
    // `holdsFolders`: keep each folder open from its listing to the next, for the deletions
    // in it. Off for a volume's trash, which the user may eject while the pass runs: its
    // folders are then opened at each step and a held descriptor never makes it busy.
    explicit RootItemQueue(bool holdsFolders = true) : holdsFolders_(holdsFolders) {}
    ~RootItemQueue();
    RootItemQueue(const RootItemQueue&) = delete;
    RootItemQueue& operator=(const RootItemQueue&) = delete;

    struct Entry {
        std::optional<TimePoint> date;
        size_t listed = 0; // position in the listing, for ties
        size_t folder = 0; // index into the folders listed
        std::string name;
    };

    // Lists every folder and reads every item's date; the queue then holds the whole trash.
    // A held folder is kept open as it was reached then, through no link below
    // `trustedFolder` (posix::openFolderWithoutLinks).
    void fill(std::vector<ItemFolder> folders, const std::string& trustedFolder);
    // Whether the queue must be filled again before it is used: it never was, it was
    // dropped, or one of its folders changed since it was listed other than as noted by
    // noteOwnChange. A folder swapped, chmod-ed or chown-ed changes too, so the trash's
    // folders need asking for (and their refusals checking) only when this says so.
    bool needsListing() const;
    // After a failure: whatever the pass left behind is read again at the next step.
    void drop() { filled_ = false; }

    bool empty() const { return heap_.empty(); }
    // The item to delete next, taken out of the queue.
    Entry pop();
    // Puts an item (back) in its place, by the date it carries.
    void push(Entry entry);
    const ItemFolder& folder(size_t index) const { return folders_[index]; }
    // The folder `index` as opened when it was listed; -1 when it is not held or could not be
    // opened so.
    int folderFd(size_t index) const { return folderFds_[index]; }
    // Whether the folder `index` was a folder, not a link, when last stamped.
    bool isRealFolder(size_t index) const { return stamps_[index].present && stamps_[index].isFolder; }
    // The pass itself has just changed the folder `index`: its new state is no sign of
    // another's change.
    void noteOwnChange(size_t index);

    // What a folder looks like from outside; any entry made or removed in it changes it.
    struct FolderStamp {
        bool present = false;
        bool isFolder = false;
        dev_t device = 0;
        ino_t inode = 0;
        nlink_t links = 0;
        off_t size = 0;
        long long modified = 0; // nanoseconds
        long long changed = 0;  // nanoseconds
        bool operator==(const FolderStamp&) const = default;
    };
    static FolderStamp stampOf(const std::string& folderPath);

private:
    void closeFolders();
    FolderStamp currentStamp(size_t index) const;

    bool holdsFolders_ = true;
    bool filled_ = false;
    std::vector<ItemFolder> folders_;
    std::vector<FolderStamp> stamps_;
    std::vector<int> folderFds_;
    std::vector<Entry> heap_;
};

} // namespace bw
