#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashBooks.h"
#include "manager/Manager.h"
#include "deletion/OldestItem.h"
#include "deletion/StepErrors.h"
#include "infopanel/Volume.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"
#include "platform/posix/TreeWalk.h"
#include "privileges/Security.h"
#include "settings/Preferences.h"

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
    return result != kShredDone && result != kShredNothingLeft && result != kShredNothingDue;
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

// A stamp of everything inside an item: any entry made, removed, renamed, written, chmod-ed
// or chown-ed anywhere in it changes it (an entry's status-change time moves with each).
std::optional<uint64_t> insideStampOf(const LocatedItem& item)
{
    const int fd = item.folderFd >= 0 ? item.folderFd : posix::openDirectoryNoFollow(item.folder.path);
    if (fd < 0)
        return std::nullopt;
    uint64_t stamp = 14695981039346656037ULL;
    const auto mix = [&stamp](uint64_t value) {
        for (int byte = 0; byte < 8; ++byte, value >>= 8)
            stamp = (stamp ^ (value & 0xff)) * 1099511628211ULL;
    };
    posix::WalkCallbacks callbacks;
    callbacks.visit = [&](const posix::WalkEntry& entry) {
        const struct stat& st = entry.status;
        for (const uint64_t value :
             {static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_ctim.tv_sec),
              static_cast<uint64_t>(st.st_ctim.tv_nsec), static_cast<uint64_t>(st.st_mtim.tv_sec),
              static_cast<uint64_t>(st.st_mtim.tv_nsec), static_cast<uint64_t>(st.st_mode),
              static_cast<uint64_t>(st.st_uid), static_cast<uint64_t>(st.st_size),
              static_cast<uint64_t>(entry.statError), static_cast<uint64_t>(entry.openError)})
            mix(value);
        return posix::WalkAction::Continue;
    };
    posix::walkTree(fd, item.folder.path, item.name, callbacks);
    if (fd != item.folderFd)
        close(fd);
    return stamp;
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
    ++passNumber_;
    platform_.workers->start([this] { autoShredThread(); });
}

void Shredder::autoShredThread()
{
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
// In forced mode a trash needs a step when it is marked; in free-space mode when one of its
// rules may want its oldest item gone. Either way only a trash with a non-zero counter is
// touched.
Shredder::CycleOutcome Shredder::autoShredCycle(bool forced)
{
    const CycleLines& lines = forced ? kForcedLines : kFreeSpaceLines;
    CycleOutcome outcome;
    // The cycle is finished only when every step it ran found its trash empty, or nothing in
    // it due: one trash running out must not end the emptying of another that still has items.
    bool finished = true;
    const auto afterStep = [&](int result, const char* errorLine, const char* breakLine) {
        // A volume that does not answer is left to a later pass, as if it had nothing left.
        if (result == kShredPassedOver)
            return false;
        // A failed item is passed over from now on: one line for it, and the pass goes on
        // to the next oldest in the next cycle.
        if (isFailure(result))
            platform_.log->line(errorLine);
        finished = finished && (result == kShredNothingLeft || result == kShredNothingDue);
        if (shredBreak_.load()) {
            logVerbose(*platform_.log, *platform_.keys, breakLine);
            return outcome.endsPass = true;
        }
        // Nothing was deleted when the step failed, found nothing due, or found only items
        // that failed before.
        if (!forced && !isFailure(result) && result != kShredNothingDue &&
            !(result == kShredNothingLeft && failedItemsLeft_))
            noteAutoDeletion(platform_.clock->now());
        return false;
    };
    const DeletionReason forcedReason = forcedReason_.load();
    const auto forcedStep = [forcedReason](std::string trash, std::string volumePath) {
        return TrashStep{std::move(trash), std::move(volumePath),
                         [forcedReason](const std::optional<TimePoint>&) { return std::optional(forcedReason); }};
    };

    std::optional<TrashStep> homeStep;
    if (outInternal_->trashSize() != 0) {
        if (forced && outInternal_->shredMode())
            homeStep = forcedStep(outInternal_->volumeName(), {});
        else if (!forced)
            homeStep = ruleStep(
                outInternal_->volumeName(), {}, outInternal_->volumeMountPoint(),
                [this] { return outInternal_->spaceFigures(); }, [this] { return outInternal_->trashSize(); });
    }
    if (homeStep) {
        outcome.onHome = true;
        if (afterStep(autoShredSubInternal(*homeStep), lines.homeError, lines.homeBreak))
            return outcome;
    }
    // The list is asked again at every position: a volume may come or go meanwhile.
    for (int drive = 0;; ++drive) {
        const std::string path = outExternal_->volumePathWithDrive(drive);
        if (path.empty())
            break;
        if (outExternal_->trashSizeWithPath(path) == 0)
            continue;
        std::optional<TrashStep> step;
        if (forced && outExternal_->shredModeAtPath(path))
            step = forcedStep(posix::lastComponent(path), path);
        else if (!forced)
            step = ruleStep(
                posix::lastComponent(path), path, path, [this, path] { return outExternal_->spaceFiguresWithPath(path); },
                [this, path] { return outExternal_->trashSizeWithPath(path); });
        if (!step)
            continue;
        outcome.onHome = false;
        outcome.onVolume = path;
        if (afterStep(autoShredSubExternal(*step, drive), lines.volumeError, lines.volumeBreak))
            return outcome;
    }
    if (finished) {
        checkSizeAndResize();
        logVerbose(*platform_.log, *platform_.keys, lines.finished);
        outcome.endsPass = true;
    }
    return outcome;
}

RuleSet Shredder::rulesAt(const std::string& mountPoint) const
{
    return RuleSet(outPrefs_->rulesAt(mountPoint));
}

std::optional<TrashStep> Shredder::ruleStep(std::string trash, std::string volumePath, const std::string& mountPoint,
                                            std::function<SpaceFigures()> space, std::function<double()> counter)
{
    const RuleSet rules = rulesAt(mountPoint);
    const auto figuresNow = [space = std::move(space), counter = std::move(counter)] {
        const SpaceFigures figures = space();
        return TrashFigures{figures.capacity, figures.free, counter(), std::nullopt};
    };
    // Whether the oldest item is due depends on its date alone for the age rule; the others
    // are answered by the figures now.
    if (!rules.dependsOnItems() && !rules.reasonFor(figuresNow(), platform_.clock->now()))
        return std::nullopt;
    Clock* clock = platform_.clock;
    return TrashStep{std::move(trash), std::move(volumePath),
                     [rules, figuresNow, clock](const std::optional<TimePoint>& trashedOn) {
                         // Read again for every item: the last deletion moved them.
                         TrashFigures figures = figuresNow();
                         figures.oldestTrashedOn = trashedOn;
                         return rules.reasonFor(figures, clock->now());
                     }};
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
            outExternal_->postAtPath(*last.onVolume, [external = outExternal_, path = *last.onVolume] {
                external->initTrashFilesAtPath(path);
                external->initTrashDataAtPath(path);
            });
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
    const auto removeOrphansOf = [log = platform_.log](const std::vector<ItemFolder>& folders) {
        for (const auto& folder : folders)
            folder.layout->removeOrphans(folder, *log);
    };
    if (outInternal_->shredMode())
        removeOrphansOf(outInternal_->itemFolders());
    for (const auto& path : outExternal_->volumePaths())
        if (outExternal_->shredModeAtPath(path))
            outExternal_->runAtPath(path, [external = outExternal_, path, removeOrphansOf] {
                removeOrphansOf(external->itemFoldersAtPath(path));
            });
}

int Shredder::autoShredSubInternal(const TrashStep& step)
{
    outInternal_->setTrashStatus(kDeleting);
    auto& queue = passQueues_[""];
    if (!queue)
        queue = std::make_shared<RootItemQueue>();
    const int result = shredOldestOf(outInternal_->books(), *queue, outInternal_->trashSizePointer(), step);
    if (result == kShredNothingDue)
        outInternal_->setTrashStatus(kStandingBy);
    if (result == kShredNothingLeft) {
        outInternal_->initTrashFiles();
        outInternal_->initTrashData();
    }
    return result;
}

int Shredder::autoShredSubExternal(const TrashStep& step, int driveNumber)
{
    const std::string& volumePath = step.volumePath;
    outExternal_->setTrashStatus(kDeleting, volumePath);
    // The items are taken under this volume's path; if the list moved since the drive
    // number was taken, that number now names another volume, whose trash they are not in.
    if (outExternal_->volumePathWithDrive(driveNumber) != volumePath)
        platform_.log->line(strprintf("Volume list moved during the pass; working on %s", volumePath.c_str()));
    auto& queue = passQueues_[volumePath];
    if (!queue)
        queue = std::make_shared<RootItemQueue>(false);
    // The step runs on the volume's own thread; what it uses is its own, so that a step left
    // behind on a volume that stopped answering harms nothing when it ends.
    auto result = std::make_shared<std::atomic<int>>(kShredPassedOver);
    const auto outcome = outExternal_->runAtPath(
        volumePath, [this, books = outExternal_->booksAtPath(volumePath), queue,
                     counter = outExternal_->trashSizePtrAtPath(volumePath), volumePath, result, step] {
            const int done = shredOldestOf(*books, *queue, counter, step);
            if (done == kShredNothingDue)
                outExternal_->setTrashStatus(kStandingBy, volumePath);
            if (done == kShredNothingLeft) {
                outExternal_->initTrashFilesAtPath(volumePath);
                outExternal_->initTrashDataAtPath(volumePath);
            }
            result->store(done);
        });
    if (outcome == VolumeRunner::Outcome::Done)
        return result->load();
    // The queue may still be in the step's hands: the next step lists the trash afresh.
    passQueues_.erase(volumePath);
    return kShredPassedOver;
}

int Shredder::shredOldestOf(const TrashBooks& trash, RootItemQueue& queue, std::atomic<double>* fileSize,
                            const TrashStep& step)
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
        bool again = false;
        if (isFailedBefore(*seen, item, path, &again)) {
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
        const auto reason = step.reasonFor(entry.date);
        if (!reason) {
            queue.push(std::move(entry)); // still the oldest, for the next cycle
            return kShredNothingDue;
        }
        DeletionEvent event;
        event.trash = step.trash;
        event.volumePath = step.volumePath;
        event.path = path;
        // Read before the item goes: its description goes with it.
        event.originalLocation = folder.layout->originalLocation(folder, entry.name).value_or(path);
        event.trashedOn = entry.date;
        event.reason = *reason;
        std::optional<struct stat> left;
        // An item tried again that fails again is no news: only rememberFailure tells of it.
        stepErrors::begin(again);
        const int result = shredItemAt(item, fileSize, std::move(event), &*seen, &left);
        const bool forThisPass = stepErrors::transient();
        stepErrors::begin();
        queue.noteOwnChange(entry.folder);
        const bool stays = left && left->st_dev == seen->st_dev && left->st_ino == seen->st_ino;
        if (isFailure(result)) {
            rememberFailure(*seen, stays ? &*left : nullptr, item, path, forThisPass);
            // What the attempt left behind (a renamed entry, say) is read afresh.
            queue.drop();
            if (again && !forThisPass) {
                failedItemsLeft_ = true;
                continue;
            }
        } else if (stays) {
            queue.push(std::move(entry)); // not finished (a stop, an interrupted overwrite): still first
        }
        return result;
    }
}

bool Shredder::isFailedBefore(const struct stat& seen, const LocatedItem& item, const std::string& path,
                              bool* again)
{
    FailedItem known;
    {
        std::lock_guard lock(failedMutex_);
        const auto it = std::find_if(failedItems_.begin(), failedItems_.end(), [&](const FailedItem& failed) {
            return failed.device == seen.st_dev && failed.inode == seen.st_ino;
        });
        if (it == failedItems_.end())
            return false;
        if (!it->changed)
            it->changed = seen.st_ctim;
        known = *it;
    }
    // The attempt left the item under another name (its time-stamp name): the first sight of
    // it is how it was left, inside as well.
    if (!known.inside) {
        known.inside = insideStampOf(item);
        std::lock_guard lock(failedMutex_);
        for (FailedItem& failed : failedItems_)
            if (failed.device == seen.st_dev && failed.inode == seen.st_ino && !failed.inside)
                failed.inside = known.inside;
    }
    if (known.onlyPass)
        return *known.onlyPass == passNumber_.load();
    *again = true;
    if (platform_.clock->now() - known.failedAt >= kFailedRetry)
        return false;
    // Anything changed, the item itself or what is inside it (a folder the user made
    // writable again, say), may be what kept it.
    if (sameTime(*known.changed, seen.st_ctim) && (!known.inside || insideStampOf(item) == known.inside))
        return true;
    platform_.log->line(strprintf("%s changed since its deletion failed; it is tried again", path.c_str()));
    return false;
}

void Shredder::rememberFailure(const struct stat& seen, const struct stat* left, const LocatedItem& item,
                               const std::string& path, bool forThisPass)
{
    const TimePoint now = platform_.clock->now();
    FailedItem failed{seen.st_dev, seen.st_ino, std::nullopt, std::nullopt, now, now, std::nullopt, path};
    // The attempt itself changes the item (what it removed inside, a rename): what counts is
    // how it was left.
    if (left) {
        failed.changed = left->st_ctim;
        failed.inside = insideStampOf(item);
    }
    if (forThisPass) {
        failed.onlyPass = passNumber_.load();
        platform_.log->line(strprintf("%s could not be deleted for want of resources; it is tried again at the next pass",
                                      path.c_str()));
    }
    std::lock_guard lock(failedMutex_);
    const auto it = std::find_if(failedItems_.begin(), failedItems_.end(), [&](const FailedItem& known) {
        return known.device == failed.device && known.inode == failed.inode;
    });
    if (it != failedItems_.end()) {
        // Failing again: told at most once in kFailedRetold.
        failed.toldAt = it->toldAt;
        if (!forThisPass && now - it->toldAt >= kFailedRetold) {
            failed.toldAt = now;
            platform_.log->line(strprintf("%s still cannot be deleted; it is tried again in %.0f minutes",
                                          path.c_str(), kFailedRetry.count() / 60));
        }
        *it = std::move(failed);
        return;
    }
    failedItems_.push_back(std::move(failed));
}

int Shredder::shredItemAt(const LocatedItem& item, std::atomic<double>* fileSize, DeletionEvent event,
                          const struct stat* seen, std::optional<struct stat>* left)
{
    const std::string path = posix::joinPath(item.folder.path, item.name);
    const double before = fileSize ? fileSize->load() : 0.0;
    // Only folders can need their permissions repaired: a file is removed by its trash's. The
    // repair removes what the user cannot, so test mode, which keeps every item, makes none.
    const bool testMode = outPrefs_ && outPrefs_->testModeSwitch();
    if ((!seen || S_ISDIR(seen->st_mode)) && !testMode)
        outSecurity_->allFilesEnabler(path, nullptr, {shredderSwitch(), fileSize});
    bool removed = false;
    const int result = item.folderFd >= 0 ? shredItemIn(item.folderFd, path, fileSize, seen, &removed)
                                          : shredFolderOrFile(path, fileSize, &removed);
    // Removed here, it is gone; otherwise a stop, a failure or someone else decides.
    const auto after = removed ? std::nullopt : lstatOf(item);
    // An item a stop left half deleted is neither deleted nor failed.
    const bool gone = result == kShredDone && !after;
    // What tells file managers of the item goes only with the item itself.
    if (gone)
        item.folder.layout->removeCompanions(item.folder, item.name, *platform_.log);
    if (gone || (isFailure(result) && !stepErrors::quiet())) {
        event.when = platform_.clock->now();
        // A measurement may move the counter meanwhile; a rise does not count as bytes freed.
        event.bytes = std::max(0.0, before - (fileSize ? fileSize->load() : 0.0));
        event.deleted = gone;
        event.failure = gone ? std::string() : failureText(result);
        tellDeletion(event, true);
    }
    if (left)
        *left = after;
    return result;
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
    // The volume whose trash this is: the deepest one that holds it; none, the home trash.
    DeletionEvent event;
    for (const auto& volume : outExternal_->volumePaths())
        if (trashPath.rfind(volume + "/", 0) == 0 && volume.size() > event.volumePath.size())
            event.volumePath = volume;
    event.trash = event.volumePath.empty() ? outInternal_->volumeName() : posix::lastComponent(event.volumePath);
    event.path = path;
    event.originalLocation = path;
    event.trashedOn = ages[*oldestItem(ages, platform_.clock->now())].modified;
    event.reason = DeletionReason::FreeSpace;
    return shredItemAt(LocatedItem{folder, posix::lastComponent(path)}, fileSize, std::move(event));
}

bool Shredder::checkSizeAndResize()
{
    bool measured = false;
    // A trash whose measurement runs or has not even begun (its thread just started) has a
    // counter that says nothing yet: it is measured here, after any running measurement.
    const bool unknown = !outInternal_->books().items() || outInternal_->trashSizeing();
    if (unknown | outInternal_->checkTrashCountChange() | outInternal_->checkFreeSizeChange()) {
        outInternal_->renewTrashSize();
        measured = true;
    }
    // On the volume's own thread, after the measurements handed to it before.
    for (const auto& path : outExternal_->volumePaths()) {
        auto renewed = std::make_shared<std::atomic<bool>>(false);
        outExternal_->runAtPath(path, [external = outExternal_, path, renewed] {
            const bool unknown = !external->trashFilesAtPath(path) || external->trashSizeingAtPath(path);
            if (unknown | external->checkTrashCountChangeAtPath(path) | external->checkFreeSizeChangeAtPath(path)) {
                external->renewTrashSizeAtPath(path);
                renewed->store(true);
            }
        });
        measured = measured || renewed->load();
    }
    return measured;
}

void Shredder::setShredMode(uint8_t mode, DeletionReason reason)
{
    forcedReason_.store(reason);
    shredMode_.store(mode);
    if (mode == 0) {
        outInternal_->setShredMode(false);
        outExternal_->setAllShredMode(false);
    }
}

} // namespace bw
