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

// Each root item where it lies, with the date its layout gives it.
std::vector<std::pair<LocatedItem, std::optional<TimePoint>>> datedItems(const std::vector<ItemFolder>& folders,
                                                                         const std::vector<std::string>& rootItems)
{
    std::vector<std::pair<LocatedItem, std::optional<TimePoint>>> dated;
    dated.reserve(rootItems.size());
    for (const auto& folder : folders) {
        std::vector<std::string> names;
        for (const auto& item : rootItems) {
            if (item.compare(0, folder.keyPrefix.size(), folder.keyPrefix) != 0)
                continue;
            std::string name = item.substr(folder.keyPrefix.size());
            if (posix::isPlainName(name))
                names.push_back(std::move(name));
        }
        const auto dates = folder.layout->itemDates(folder, names);
        for (size_t i = 0; i < names.size(); ++i)
            dated.push_back({LocatedItem{folder, names[i]}, dates[i]});
    }
    return dated;
}

} // namespace

void Shredder::autoShred()
{
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
    checkSizeAndResize();
    shredding_.store(true);
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
        if (isFailure(result)) {
            platform_.log->line(errorLine);
            return outcome.endsPass = true;
        }
        finished = finished && result == kShredNothingLeft;
        if (shredBreak_.load()) {
            logVerbose(*platform_.log, *platform_.keys, breakLine);
            return outcome.endsPass = true;
        }
        if (!forced)
            setLastAutoExecDate(platform_.clock->now());
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
    const auto items = outInternal_->rootArray();
    if (items.empty()) {
        outInternal_->initTrashFiles();
        outInternal_->initTrashData();
        return kShredNothingLeft;
    }
    return shredOldestOf(outInternal_->books(), items, outInternal_->trashSizePointer());
}

int Shredder::autoShredSubExternal(const std::string& volumePath, int driveNumber)
{
    outExternal_->setTrashStatus(kDeleting, volumePath);
    const auto items = outExternal_->rootArrayWithPath(volumePath);
    if (items.empty()) {
        outExternal_->initTrashFilesAtPath(volumePath);
        outExternal_->initTrashDataAtPath(volumePath);
        return kShredNothingLeft;
    }
    // The items were listed under this volume's path; if the list moved since the drive
    // number was taken, that number now names another volume, whose trash they are not in.
    if (outExternal_->volumePathWithDrive(driveNumber) != volumePath)
        platform_.log->line(strprintf("Volume list moved during the pass; working on %s", volumePath.c_str()));
    return shredOldestOf(*outExternal_->booksAtPath(volumePath), items, outExternal_->trashSizePtrAtPath(volumePath));
}

int Shredder::shredOldestOf(const TrashBooks& trash, const std::vector<std::string>& rootItems,
                            std::atomic<double>* fileSize)
{
    if (rootItems.empty())
        return kShredNothingLeft;
    if (shredBreak_.load())
        return kShredDone;
    const auto dated = datedItems(trash.itemFolders(), rootItems);
    if (dated.empty())
        return kShredDone; // the folders went since the listing; the next step lists again
    std::vector<DatedItem> ages;
    ages.reserve(dated.size());
    for (const auto& [item, date] : dated)
        ages.push_back({item.name, date});
    const LocatedItem& chosen = dated[*oldestItem(ages, platform_.clock->now())].first;
    if (!posix::isRealFolder(chosen.folder.path)) {
        // Nothing is deleted; the next listing leaves the link out.
        platform_.log->line(strprintf("%s is reached through a symbolic link; it is not deleted",
                                      posix::joinPath(chosen.folder.path, chosen.name).c_str()));
        return kShredDone;
    }
    return shredItemAt(chosen, fileSize);
}

int Shredder::shredItemAt(const LocatedItem& item, std::atomic<double>* fileSize)
{
    const std::string path = posix::joinPath(item.folder.path, item.name);
    bool repairStarted = false;
    outSecurity_->allFilesEnabler(path, &repairStarted);
    // The pause gives a started repair time to run; with nothing to repair it is lost time.
    if (repairStarted)
        platform_.clock->sleepFor(Seconds(0.2));
    const double before = fileSize ? fileSize->load() : 0.0;
    const int result = shredFolderOrFile(path, fileSize);
    // An item a stop left half deleted is neither deleted nor failed.
    const bool gone = result == kShredDone && !posix::lstatPath(path);
    if (gone || isFailure(result))
        countItem(gone, before - (fileSize ? fileSize->load() : 0.0), item.folder.path);
    // What tells file managers of the item goes only with the item itself.
    if (result == kShredDone && !posix::lstatPath(path))
        item.folder.layout->removeCompanions(item.folder, item.name, *platform_.log);
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
