#include "accounting/External.h"

#include "accounting/TrashFolders.h"

#include "settings/Preferences.h"
#include "privileges/Security.h"
#include "finder/Utility.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/ModifierKeys.h"
#include "platform/Platform.h"
#include "platform/SpaceSource.h"
#include "platform/VolumeSource.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"
#include "platform/posix/TrashLayouts.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

External::External(const Platform& platform)
    : platform_(platform), owner_(currentTrashOwner(platform.homeDirectory, platform.dataHome))
{
}

void External::wire(Preferences& prefs, Utility& utility, Security& security)
{
    outPrefs_ = &prefs;
    outUtility_ = &utility;
    outSecurity_ = &security;
}

void External::awakeFromNib()
{
    {
        std::lock_guard lock(mutex_);
        for (auto& counter : trashSize_)
            counter.store(0.0);
        for (auto& owner : slotOwner_)
            owner.clear();
        books_.clear();
    }
    renewTrashSizeing();
    renewTrashStatusAll();
    lastDrives_.store(drives());
    initTrashFiles();
    for (const auto& path : volumePaths())
        initTrashDataThreadAtPath(path);
}

// --- volume discovery

std::vector<std::string> External::volumePaths() const
{
    // A platform without a volume source (a test of the home trash alone) watches none.
    return platform_.volumes ? platform_.volumes->volumePaths() : std::vector<std::string>();
}

int External::drives() const
{
    return static_cast<int>(volumePaths().size());
}

bool External::isExist() const
{
    return !volumePaths().empty();
}

std::vector<std::string> External::volumeNames() const
{
    std::vector<std::string> names;
    for (const auto& path : volumePaths())
        names.push_back(posix::lastComponent(path));
    return names;
}

int External::driveNumberAtPath(const std::string& volumePath) const
{
    const auto paths = volumePaths();
    const auto it = std::find(paths.begin(), paths.end(), volumePath);
    return it == paths.end() ? -1 : static_cast<int>(it - paths.begin());
}

bool External::isContainPath(const std::string& volumePath) const
{
    return driveNumberAtPath(volumePath) >= 0;
}

std::string External::volumePathWithDrive(int drive) const
{
    const auto paths = volumePaths();
    return drive >= 0 && drive < static_cast<int>(paths.size()) ? paths[static_cast<size_t>(drive)] : std::string();
}

std::vector<std::string> External::trashPaths() const
{
    std::vector<std::string> paths;
    for (const auto& path : volumePaths())
        paths.push_back(posix::classicVolumeTrash(path));
    return paths;
}

std::string External::trashPathWithDrive(int drive) const
{
    const std::string volume = volumePathWithDrive(drive);
    return volume.empty() ? std::string() : posix::classicVolumeTrash(volume);
}

std::vector<std::string> External::directoryContentsAtPath(const std::string& folder) const
{
    return posix::listRealDirectory(folder);
}

int8_t External::checkDriveChanged()
{
    const int count = drives();
    const int last = lastDrives_.exchange(count);
    return count > last ? 1 : count < last ? -1 : 0;
}

std::optional<std::string> External::installedVolumePath() const
{
    const auto paths = volumePaths();
    for (const auto& path : paths)
        if (!trashFilesAtPath(path))
            return path;
    return std::nullopt;
}

std::optional<std::string> External::removedVolumePath() const
{
    const auto paths = volumePaths();
    std::lock_guard lock(mutex_);
    for (const auto& [path, books] : books_)
        if (books->items() && std::find(paths.begin(), paths.end(), path) == paths.end())
            return path;
    return std::nullopt;
}

TrashWatch External::watchedFolders() const
{
    TrashWatch watch;
    for (const auto& volume : volumePaths()) {
        for (const TrashLayout* layout : trashLayouts())
            layout->addVolumeParents(volume, owner_, watch);
        // A crafted volume with a great many per-user folders must not take the user's
        // whole allowance of inotify watches.
        if (!addWatchesOf(itemFoldersAtPath(volume), kWatchedPerVolume, watch) && !toldWatchBound_.exchange(true))
            platform_.log->line(strprintf("Volume trash at %s has more than %zu folders; the rest are looked at by the "
                                          "monitor timer",
                                          volume.c_str(), kWatchedPerVolume));
    }
    return watch;
}

// --- the books of each volume

std::shared_ptr<TrashBooks> External::booksAtPath(const std::string& volumePath) const
{
    std::lock_guard lock(mutex_);
    auto& books = books_[volumePath];
    if (!books)
        books = std::make_shared<TrashBooks>(platform_, "Volume trash",
                                             [this, volumePath] { return volumeItemFolders(volumePath, owner_); });
    return books;
}

std::vector<ItemFolder> External::itemFoldersAtPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->itemFolders();
}

std::vector<std::string> External::rootArrayWithPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->rootItems();
}

int External::trashFileCountWithPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->rootItemCount();
}

std::optional<TrashFiles> External::trashFilesAtPath(const std::string& volumePath) const
{
    std::lock_guard lock(mutex_);
    const auto it = books_.find(volumePath);
    return it == books_.end() ? std::nullopt : it->second->items();
}

// --- tables and measurements

void External::initTrashFiles()
{
    std::lock_guard lock(mutex_);
    for (auto& [path, books] : books_)
        books->forgetItems();
}

void External::initTrashFilesAtPath(const std::string& volumePath)
{
    booksAtPath(volumePath)->forgetItems();
}

void External::removeTrashSizeAtPath(const std::optional<std::string>& volumePath)
{
    if (volumePath)
        initTrashFilesAtPath(*volumePath);
}

void External::logMeasurement(const char* what, const std::string& volumePath, TimePoint started) const
{
    if (!isTracing(*platform_.keys))
        return;
    const double interval = Seconds(platform_.clock->now() - started).count();
    platform_.log->line(strprintf("%s=%f(%s)", what, interval, volumePath.c_str()));
    platform_.log->line(strprintf("trashSize=%f", trashSizeWithPath(volumePath)));
}

void External::initTrashSizeAtPath(const std::string& volumePath)
{
    const TimePoint started = platform_.clock->now();
    const auto books = booksAtPath(volumePath);
    // The shared folder that holds the per-user folders may need a repair before they
    // can be listed; a link is never repaired, and neither is a missing folder.
    const std::string shared = posix::classicVolumeTrash(volumePath);
    if (posix::isRealFolder(shared))
        outSecurity_->folderEnabler(shared);
    books->measureAll(*outUtility_, counterAt(volumePath));
    logMeasurement("External:initTrashSizeAtPath interval", volumePath, started);
}

void External::renewTrashSizeAtPath(const std::string& volumePath)
{
    const TimePoint started = platform_.clock->now();
    booksAtPath(volumePath)->measureChanges(*outUtility_, counterAt(volumePath));
    logMeasurement("External:renewTrashSizeAtPath interval", volumePath, started);
}

// On the volume's thread, waited for by a worker while the volume answers, so that those who
// wait for the workers wait for the measurement too, but never for a volume that hangs.
void External::initTrashSizeThreadAtPath(const std::string& volumePath)
{
    platform_.workers->start([this, volumePath] {
        runAtPath(volumePath, [this, volumePath] { initTrashSizeAtPath(volumePath); });
    });
}

void External::renewTrashSizeThreadAtPath(const std::string& volumePath)
{
    platform_.workers->start([this, volumePath] {
        runAtPath(volumePath, [this, volumePath] { renewTrashSizeAtPath(volumePath); });
    });
}

// --- the volume's own thread

std::shared_ptr<VolumeRunner> External::runnerAt(const std::string& volumePath) const
{
    std::lock_guard lock(mutex_);
    auto& runner = runners_[volumePath];
    if (!runner)
        runner = std::make_shared<VolumeRunner>();
    return runner;
}

VolumeRunner::Outcome External::runAtPath(const std::string& volumePath, std::function<void()> step)
{
    const auto runner = runnerAt(volumePath);
    const auto outcome = runner->run(std::move(step), [this] { return platform_.workers->quitting(); });
    if (outcome == VolumeRunner::Outcome::NotAnswering)
        noteNotAnsweringAtPath(volumePath);
    return outcome;
}

void External::noteNotAnsweringAtPath(const std::string& volumePath)
{
    {
        std::lock_guard lock(mutex_);
        if (!silentVolumes_.insert(volumePath).second)
            return;
    }
    platform_.log->line(
        strprintf("Volume %s does not answer; its trash is passed over until it does", volumePath.c_str()));
}

bool External::takeAnsweringAgainAtPath(const std::string& volumePath)
{
    {
        std::lock_guard lock(mutex_);
        const auto it = runners_.find(volumePath);
        if (it != runners_.end() && !it->second->answering())
            return false;
        if (silentVolumes_.erase(volumePath) == 0)
            return false;
    }
    platform_.log->line(strprintf("Volume %s answers again", volumePath.c_str()));
    return true;
}

void External::postAtPath(const std::string& volumePath, std::function<void()> job)
{
    runnerAt(volumePath)->post(std::move(job));
}

bool External::isAnsweringAtPath(const std::string& volumePath) const
{
    std::lock_guard lock(mutex_);
    const auto it = runners_.find(volumePath);
    return it == runners_.end() || it->second->answering();
}

void External::initTrashDataThreadAtPath(const std::string& volumePath)
{
    initTrashSizeThreadAtPath(volumePath);
    checkTrashCountChangeAtPath(volumePath);
    checkFreeSizeChangeAtPath(volumePath);
}

void External::installTrashSizeThreadAtPath(const std::optional<std::string>& volumePath)
{
    if (volumePath)
        initTrashDataThreadAtPath(*volumePath);
}

void External::initTrashDataAtPath(const std::string& volumePath)
{
    initTrashSizeAtPath(volumePath);
    checkTrashCountChangeAtPath(volumePath);
    checkFreeSizeChangeAtPath(volumePath);
}

// --- figures

double External::totalSizeWithPath(const std::string& volumePath) const
{
    return platform_.space->figures(volumePath).capacity;
}

double External::freeSizeWithPath(const std::string& volumePath) const
{
    return platform_.space->figures(volumePath).free;
}

double External::usedSizeWithPath(const std::string& volumePath) const
{
    return totalSizeWithPath(volumePath) - freeSizeWithPath(volumePath) - trashSizeWithPath(volumePath);
}

double External::miniSizeWithPath(const std::string& volumePath) const
{
    return miniSizeOf(totalSizeWithPath(volumePath), volumePath);
}

SpaceFigures External::spaceFiguresWithPath(const std::string& volumePath) const
{
    return platform_.space->figures(volumePath);
}

double External::miniSizeOf(double capacity, const std::string& volumePath) const
{
    return outPrefs_->rulesAt(volumePath).minimumFreeFor(capacity);
}

// --- size counters

// The slot lent to `volumePath`, lending one when it has none. Only the first
// kCountedVolumes listed volumes are counted; a slot goes first to no one's, then to a
// volume that is no longer counted (unmounted, or pushed past the limit).
int External::slotFor(const std::string& volumePath, const std::vector<std::string>& listed)
{
    const auto counted = listed.begin() + std::min<std::ptrdiff_t>(kCountedVolumes, static_cast<std::ptrdiff_t>(listed.size()));
    if (std::find(listed.begin(), counted, volumePath) == counted)
        return -1;
    std::lock_guard lock(mutex_);
    for (int slot = 0; slot < kCountedVolumes; ++slot)
        if (slotOwner_[static_cast<size_t>(slot)] == volumePath)
            return slot;
    int chosen = -1;
    for (int slot = 0; slot < kCountedVolumes && chosen < 0; ++slot)
        if (slotOwner_[static_cast<size_t>(slot)].empty())
            chosen = slot;
    for (int slot = 0; slot < kCountedVolumes && chosen < 0; ++slot)
        if (std::find(listed.begin(), counted, slotOwner_[static_cast<size_t>(slot)]) == counted)
            chosen = slot;
    // At most kCountedVolumes volumes are counted and this one holds no slot yet, so one
    // of the two walks above found a slot.
    slotOwner_[static_cast<size_t>(chosen)] = volumePath;
    trashSize_[static_cast<size_t>(chosen)].store(0.0);
    return chosen;
}

std::atomic<double>* External::counterAt(const std::string& volumePath)
{
    const int slot = slotFor(volumePath, volumePaths());
    return slot < 0 ? nullptr : &trashSize_[static_cast<size_t>(slot)];
}

const std::atomic<double>* External::counterAt(const std::string& volumePath) const
{
    // Reading lends no slot: a counted volume without one has a counter of 0.
    const auto listed = volumePaths();
    const auto counted = listed.begin() + std::min<std::ptrdiff_t>(kCountedVolumes, static_cast<std::ptrdiff_t>(listed.size()));
    if (std::find(listed.begin(), counted, volumePath) == counted)
        return nullptr;
    std::lock_guard lock(mutex_);
    for (size_t slot = 0; slot < slotOwner_.size(); ++slot)
        if (slotOwner_[slot] == volumePath)
            return &trashSize_[slot];
    return nullptr;
}

double External::trashSizeWithPath(const std::string& volumePath) const
{
    const auto* counter = counterAt(volumePath);
    return counter ? counter->load() : 0.0;
}

void External::setTrashSize(double bytes, const std::string& volumePath)
{
    if (auto* counter = counterAt(volumePath))
        counter->store(bytes);
}

std::atomic<double>* External::trashSizePtrAtPath(const std::string& volumePath)
{
    return counterAt(volumePath);
}

double External::allTrashSize() const
{
    double sum = 0.0;
    for (const auto& path : volumePaths())
        sum += trashSizeWithPath(path);
    return sum;
}

// --- status, measuring flags, baselines, marks

int External::trashStatusWithDrive(int drive) const
{
    const std::string path = volumePathWithDrive(drive);
    return path.empty() ? 0 : booksAtPath(path)->status();
}

void External::setTrashStatus(int status, const std::string& volumePath)
{
    booksAtPath(volumePath)->setStatus(status);
}

void External::renewTrashStatusAll()
{
    for (const auto& path : volumePaths())
        setTrashStatus(kStandingBy, path);
}

bool External::trashSizeingAtPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->isMeasuring();
}

bool External::trashSizeingWithDrive(int drive) const
{
    const std::string path = volumePathWithDrive(drive);
    return !path.empty() && trashSizeingAtPath(path);
}

bool External::trashSizeing() const
{
    for (const auto& path : volumePaths())
        if (trashSizeingAtPath(path))
            return true;
    return false;
}

void External::setTrashSizeing(bool on, const std::string& volumePath)
{
    booksAtPath(volumePath)->setMeasuring(on);
}

void External::renewTrashSizeing()
{
    for (const auto& path : volumePaths())
        setTrashSizeing(false, path);
}

bool External::checkTrashCountChangeAtPath(const std::string& volumePath)
{
    return booksAtPath(volumePath)->checkCountChange();
}

bool External::checkFreeSizeChangeAtPath(const std::string& volumePath)
{
    return booksAtPath(volumePath)->checkFreeSizeChange(freeSizeWithPath(volumePath));
}

bool External::checkAllTrashCountChange()
{
    bool changed = false;
    for (const auto& path : volumePaths())
        changed = checkTrashCountChangeAtPath(path) || changed;
    return changed;
}

bool External::checkAllFreeSizeChange()
{
    bool changed = false;
    for (const auto& path : volumePaths())
        changed = checkFreeSizeChangeAtPath(path) || changed;
    return changed;
}

int External::lastTrashCountAtPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->lastCount();
}

void External::setLastTrashCount(int count, const std::string& volumePath)
{
    booksAtPath(volumePath)->setLastCount(count);
}

double External::lastFreeSizeAtPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->lastFreeSize();
}

void External::setLastFreeSize(double bytes, const std::string& volumePath)
{
    booksAtPath(volumePath)->setLastFreeSize(bytes);
}

bool External::shredModeAtPath(const std::string& volumePath) const
{
    return booksAtPath(volumePath)->shredMode();
}

void External::setShredMode(bool on, const std::string& volumePath)
{
    booksAtPath(volumePath)->setShredMode(on);
}

void External::setAllShredMode(bool on)
{
    for (const auto& path : volumePaths())
        setShredMode(on, path);
}

} // namespace bw
