#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashBooks.h"
#include "manager/Manager.h"
#include "deletion/OldestItem.h"
#include "infopanel/Volume.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"
#include "privileges/Security.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

namespace {

// The log lines of one mode: errors always, the others only while Alt is held.
struct CycleLines {
    const char* homeError;
    const char* volumeError;
    const char* homeBreak;
    const char* volumeBreak;
    const char* finished;
};

constexpr CycleLines kForcedLines{
    "Brindlewick: Some error occured at #1.", "Brindlewick: Some error occured at #2.",
    "Forced break at all internal", "Forced break at all external", "empty break",
};
constexpr CycleLines kFreeSpaceLines{
    "Brindlewick: Some error occured at #3.", "Brindlewick: Some error occured at #4.",
    "Forced break at calc internal", "Forced break at calc external", "free break",
};

bool isFailure(int result)
{
    return result != kShredDone && result != kShredNothingLeft;
}

// The trash folder and every folder between it and the item (a volume's per-user folder)
// are real folders: the shredder reaches the item through them, so a link swapped in
// among them would send it outside the trash.
bool isReachedWithoutLinks(const std::string& trashPath, const std::string& rootItem)
{
    if (!posix::isRealFolder(trashPath))
        return false;
    std::string folder = trashPath;
    for (size_t slash = rootItem.find('/'); slash != std::string::npos; slash = rootItem.find('/', slash + 1)) {
        folder = posix::joinPath(trashPath, rootItem.substr(0, slash));
        if (!posix::isRealFolder(folder))
            return false;
    }
    return true;
}

std::optional<struct stat> lstatOf(const LocatedItem& item)
{
    if (item.folderFd < 0)
        return posix::lstatPath(posix::joinPath(item.folder.path, item.name));
    struct stat st {};
    if (fstatat(item.folderFd, item.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return st;
}

bool sameTime(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

void Shredder::autoShred()
{
    // Items the user chose and that wait for the guard go first: no pass takes it before them.
    if (hasChosenItemsWaiting())
        return;
    bool expected = false;
    if (!passGuard_.compare_exchange_strong(expected, true))
        return;
    resetPassTotals();
    platform_.workers->start([this] { autoShredThread(); });
}

void Shredder::autoShredThread()
{
    // A measurement still running (the one at start, or one the information panel asked
    // for) leaves its counter unfinished; a pass that read it now could find a short
    // volume's trash at 0 and skip it until the next tick. Wait as measurements wait.
    while ((outInternal_->trashSizeing() || outExternal_->trashSizeing()) && !platform_.workers->quitting())
        platform_.clock->sleepFor(Seconds(1.0));
    finishLeftovers();
    checkSizeAndResize();
    shredding_.store(true);
    passQueues_.clear();
    CycleOutcome last;
    while (!last.endsPass && !platform_.workers->quitting()) {
        logVerbose(*platform_.log, *platform_.keys, "***autoShredThread loop***");
        // A mode switched while the pass runs takes effect here.
        last = autoShredCycle(shredMode_.load() != 0);
    }
    endAutoShred(last);
}

// One cycle: one step for the home trash and one for each volume trash that needs it.
// In forced mode a trash needs a step when it is marked; in free-space mode when its
// volume is short of space. Either way only a trash with a non-zero counter is touched.
Shredder::CycleOutcome Shredder::autoShredCycle(bool forced)
{
    const CycleLines& lines = forced ? kForcedLines : kFreeSpaceLines;
    CycleOutcome outcome;
    // The cycle is finished only when every step it ran found its trash empty: one trash
    // running out must not end the emptying of another that still has items.
    bool finished = true;
    const auto afterStep = [&](int result, const char* errorLine, const char* breakLine) {
        // A failed item is passed over from now on: one line for it, and the pass goes on
        // to the next oldest in the next cycle.
        if (isFailure(result))
            platform_.log->line(errorLine);
        finished = finished && result == kShredNothingLeft;
        if (shredBreak_.load()) {
            logVerbose(*platform_.log, *platform_.keys, breakLine);
            return outcome.endsPass = true;
        }
        // Nothing was deleted when the step failed, or found only items that failed before.
        if (!forced && !isFailure(result) && !(result == kShredNothingLeft && failedItemsLeft_))
            noteAutoDeletion(platform_.clock->now());
        return false;
    };

    const bool homeNeedsStep = outInternal_->trashSize() != 0 &&
                               (forced ? outInternal_->shredMode() : outInternal_->freeSize() < outInternal_->miniSize());
    if (homeNeedsStep) {
        outcome.onHome = true;
        if (afterStep(autoShredSubInternal(), lines.homeError, lines.homeBreak))
            return outcome;
    }
    // The list is asked again at every position: a volume may come or go meanwhile.
    for (int drive = 0;; ++drive) {
        const std::string path = outExternal_->volumePathWithDrive(drive);
        if (path.empty())
            break;
        const bool needsStep =
            outExternal_->trashSizeWithPath(path) != 0 &&
            (forced ? outExternal_->shredModeAtPath(path) : outExternal_->freeSizeWithPath(path) < outExternal_->miniSizeWithPath(path));
        if (!needsStep)
            continue;
        outcome.onHome = false;
        outcome.onVolume = path;
        if (afterStep(autoShredSubExternal(path, drive), lines.volumeError, lines.volumeBreak))
            return outcome;
    }
    if (finished) {
        checkSizeAndResize();
        logVerbose(*platform_.log, *platform_.keys, lines.finished);
        outcome.endsPass = true;
    }
    return outcome;
}

void Shredder::endAutoShred(const CycleOutcome& last)
{
    const bool forced = shredMode_.load() == 1;
    const bool stopped = shredBreak_.load();
    shredding_.store(false);
    passQueues_.clear();
    stopIconFlashing();
    if (shredBreak_.load()) {
        if (outInternal_->shredMode())
            outInternal_->setTrashStatus(kStandingBy);
        for (const auto& path : outExternal_->volumePaths())
            if (outExternal_->shredModeAtPath(path))
                outExternal_->setTrashStatus(kStandingBy, path);
        // The counter of the trash worked on may have been lowered only in part.
        if (last.onHome) {
            outInternal_->initTrashFiles();
            outInternal_->initTrashData();
        } else if (last.onVolume) {
            outExternal_->initTrashFilesAtPath(*last.onVolume);
            outExternal_->initTrashDataAtPath(*last.onVolume);
        }
        setShredBreak(false);
    }
    if (shredMode_.load() == 1)
        removeOrphansOfMarkedTrashes();
    setShredMode(0);
    writePassDate();
    outVolume_->clearShredFile();
    reportPass(forced, stopped);
    passGuard_.store(false);
}

// An emptied trash keeps no description of an item that is gone: file managers would list it.
void Shredder::removeOrphansOfMarkedTrashes()
{
    std::vector<ItemFolder> folders;
    if (outInternal_->shredMode())
        folders = outInternal_->itemFolders();
    for (const auto& path : outExternal_->volumePaths())
        if (outExternal_->shredModeAtPath(path))
            for (auto& folder : outExternal_->itemFoldersAtPath(path))
                folders.push_back(std::move(folder));
    for (const auto& folder : folders)
        folder.layout->removeOrphans(folder, *platform_.log);
}

int Shredder::autoShredSubInternal()
{
    outInternal_->setTrashStatus(kDeleting);
    if (!iconFlashing_.load()) {
        outManager_->setMenuIcon();
        startIconFlashing();
    }
    const int result = shredOldestOf(outInternal_->books(), passQueues_[""], outInternal_->trashSizePointer());
    if (result == kShredNothingLeft) {
        outInternal_->initTrashFiles();
        outInternal_->initTrashData();
    }
    return result;
}

int Shredder::autoShredSubExternal(const std::string& volumePath, int driveNumber)
{
    outExternal_->setTrashStatus(kDeleting, volumePath);
    // The items are taken under this volume's path; if the list moved since the drive
    // number was taken, that number now names another volume, whose trash they are not in.
    if (outExternal_->volumePathWithDrive(driveNumber) != volumePath)
        platform_.log->line(strprintf("Volume list moved during the pass; working on %s", volumePath.c_str()));
    RootItemQueue& queue = passQueues_.try_emplace(volumePath, false).first->second;
    const int result = shredOldestOf(*outExternal_->booksAtPath(volumePath), queue,
                                     outExternal_->trashSizePtrAtPath(volumePath));
    if (result == kShredNothingLeft) {
        outExternal_->initTrashFilesAtPath(volumePath);
        outExternal_->initTrashDataAtPath(volumePath);
    }
    return result;
}

int Shredder::shredOldestOf(const TrashBooks& trash, RootItemQueue& queue, std::atomic<double>* fileSize)
{
    bool listedNow = false;
    failedItemsLeft_ = false;
    if (queue.needsListing()) {
        queue.fill(trash.itemFolders(), platform_.homeDirectory);
        listedNow = true;
    }
    for (;;) {
        if (queue.empty()) {
            // The pass's own view may be old: only a fresh listing says the trash is empty.
            if (listedNow)
                return kShredNothingLeft;
            queue.fill(trash.itemFolders(), platform_.homeDirectory);
            listedNow = true;
            failedItemsLeft_ = false;
            continue;
        }
        if (shredBreak_.load())
            return kShredDone;
        RootItemQueue::Entry entry = queue.pop();
        const ItemFolder& folder = queue.folder(entry.folder);
        const std::string path = posix::joinPath(folder.path, entry.name);
        const LocatedItem item{folder, entry.name, queue.folderFd(entry.folder)};
        // The chosen item is read again: one that went is dropped, one whose date changed
        // takes its new place.
        const auto seen = lstatOf(item);
        if (!seen)
            continue;
        if (auto date = folder.layout->dateOf(folder, entry.name, *seen); date != entry.date) {
            entry.date = date;
            queue.push(std::move(entry));
            continue;
        }
        if (isFailedBefore(*seen, path)) {
            failedItemsLeft_ = true;
            continue; // out of the queue until the next listing
        }
        if (!isAgreedItem(*seen))
            continue; // trashed while the user was asked about the emptying

        if (!queue.isRealFolder(entry.folder)) {
            // Nothing is deleted; the next listing leaves the link out.
            platform_.log->line(strprintf("%s is reached through a symbolic link; it is not deleted", path.c_str()));
            queue.drop();
            return kShredDone;
        }
        std::optional<struct stat> left;
        const int result = shredItemAt(item, fileSize, &*seen, &left);
        queue.noteOwnChange(entry.folder);
        const bool stays = left && left->st_dev == seen->st_dev && left->st_ino == seen->st_ino;
        if (isFailure(result)) {
            rememberFailure(*seen, stays ? &*left : nullptr, path);
            // What the attempt left behind (a renamed entry, say) is read afresh.
            queue.drop();
        } else if (stays) {
            queue.push(std::move(entry)); // not finished (a stop, an interrupted overwrite): still first
        }
        return result;
    }
}

bool Shredder::isFailedBefore(const struct stat& seen, const std::string& path)
{
    std::lock_guard lock(failedMutex_);
    const auto it = std::find_if(failedItems_.begin(), failedItems_.end(), [&](const FailedItem& failed) {
        return failed.device == seen.st_dev && failed.inode == seen.st_ino;
    });
    if (it == failedItems_.end())
        return false;
    if (!it->changed)
        it->changed = seen.st_ctim;
    if (sameTime(*it->changed, seen.st_ctim))
        return true;
    platform_.log->line(strprintf("%s changed since its deletion failed; it is tried again", path.c_str()));
    failedItems_.erase(it);
    return false;
}

void Shredder::rememberFailure(const struct stat& seen, const struct stat* left, const std::string& path)
{
    FailedItem failed{seen.st_dev, seen.st_ino, std::nullopt, path};
    // The attempt itself changes the item (what it removed inside, a rename): what counts is
    // how it was left.
    if (left)
        failed.changed = left->st_ctim;
    std::lock_guard lock(failedMutex_);
    std::erase_if(failedItems_, [&](const FailedItem& known) {
        return known.device == failed.device && known.inode == failed.inode;
    });
    failedItems_.push_back(std::move(failed));
}

int Shredder::shredItemAt(const LocatedItem& item, std::atomic<double>* fileSize, const struct stat* seen,
                          std::optional<struct stat>* left)
{
    const std::string path = posix::joinPath(item.folder.path, item.name);
    // Only folders can need their permissions repaired: a file is removed by its trash's.
    if (!seen || S_ISDIR(seen->st_mode)) {
        bool repairStarted = false;
        outSecurity_->allFilesEnabler(path, &repairStarted);
        // The pause gives a started repair time to run; with nothing to repair it is lost time.
        if (repairStarted)
            platform_.clock->sleepFor(Seconds(0.2));
    }
    const double before = fileSize ? fileSize->load() : 0.0;
    bool removed = false;
    const int result = item.folderFd >= 0 ? shredItemIn(item.folderFd, path, fileSize, seen, &removed)
                                          : shredFolderOrFile(path, fileSize, &removed);
    // Removed here, it is gone; otherwise a stop, a failure or someone else decides.
    const auto after = removed ? std::nullopt : lstatOf(item);
    // An item a stop left half deleted is neither deleted nor failed.
    const bool gone = result == kShredDone && !after;
    if (gone || isFailure(result))
        countItem(gone, before - (fileSize ? fileSize->load() : 0.0), item.folder.path);
    // What tells file managers of the item goes only with the item itself.
    if (gone)
        item.folder.layout->removeCompanions(item.folder, item.name, *platform_.log);
    if (left)
        *left = after;
    return result;
}

void Shredder::removeCompanionsOf(const std::string& path)
{
    if (posix::lstatPath(path))
        return; // still there: what tells of it stays
    std::vector<ItemFolder> folders = outInternal_->itemFolders();
    for (const auto& volume : outExternal_->volumePaths())
        for (auto& folder : outExternal_->itemFoldersAtPath(volume))
            folders.push_back(std::move(folder));
    for (const auto& folder : folders)
        if (folder.path == posix::parentPath(path))
            return folder.layout->removeCompanions(folder, posix::lastComponent(path), *platform_.log);
}

int Shredder::shredOlderWithPath(const std::string& trashPath, const std::vector<std::string>& rootItems,
                                 std::atomic<double>* fileSize)
{
    if (rootItems.empty())
        return kShredNothingLeft;
    if (shredBreak_.load())
        return kShredDone;
    // One classic folder, its items named relative to it (a per-user folder, slash, name).
    std::vector<DatedItem> ages;
    const int trashFd = posix::openDirectoryNoFollow(trashPath);
    for (const auto& item : rootItems) {
        struct stat st {};
        const bool dated = trashFd >= 0 && fstatat(trashFd, item.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
        ages.push_back({item, dated ? std::optional(posix::timePointOf(st.st_mtim)) : std::nullopt});
    }
    if (trashFd >= 0)
        close(trashFd);
    const std::string& chosen = rootItems[*oldestItem(ages, platform_.clock->now())];
    if (!isReachedWithoutLinks(trashPath, chosen)) {
        platform_.log->line(strprintf("%s is reached through a symbolic link; it is not deleted",
                                      posix::joinPath(trashPath, chosen).c_str()));
        return kShredDone;
    }
    const std::string path = posix::joinPath(trashPath, chosen);
    ItemFolder folder{posix::parentPath(path), "", &posix::classicLayout(), "", true};
    return shredItemAt(LocatedItem{folder, posix::lastComponent(path)}, fileSize);
}

bool Shredder::checkSizeAndResize()
{
    bool measured = false;
    if (outInternal_->checkTrashCountChange() || outInternal_->checkFreeSizeChange()) {
        outInternal_->renewTrashSize();
        measured = true;
    }
    for (const auto& path : outExternal_->volumePaths()) {
        if (outExternal_->checkTrashCountChangeAtPath(path) || outExternal_->checkFreeSizeChangeAtPath(path)) {
            outExternal_->renewTrashSizeAtPath(path);
            measured = true;
        }
    }
    return measured;
}

void Shredder::setShredMode(uint8_t mode)
{
    shredMode_.store(mode);
    if (mode == 0) {
        outInternal_->setShredMode(false);
        outExternal_->setAllShredMode(false);
    }
}

} // namespace bw
