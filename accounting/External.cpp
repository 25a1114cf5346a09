#include "accounting/External.h"

#include "app/Controllers.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SpaceSource.h"
#include "platform/VolumeSource.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

namespace {

// A free-space move of more than this, either way, counts as a change.
constexpr double kFreeSizeChange = 5000000.0;
constexpr const char* kTrashFolderName = ".Trashes";

std::string trashFolderOf(const std::string& volumePath)
{
    return posix::joinPath(volumePath, kTrashFolderName);
}

double sumOf(const TrashFiles& files)
{
    double sum = 0.0;
    for (const auto& [name, size] : files)
        sum += size;
    return sum;
}

} // namespace

External::External(const Platform& platform) : platform_(platform) {}

void External::wire(Controllers& c)
{
    outPrefs_ = &c.preferences;
    outUtility_ = &c.utility;
    outSecurity_ = &c.security;
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
        paths.push_back(trashFolderOf(path));
    return paths;
}

std::string External::trashPathWithDrive(int drive) const
{
    const std::string volume = volumePathWithDrive(drive);
    return volume.empty() ? std::string() : trashFolderOf(volume);
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
    std::lock_guard lock(mutex_);
    for (const auto& path : paths)
        if (!trashFilesDictionary_.count(path))
            return path;
    return std::nullopt;
}

std::optional<std::string> External::removedVolumePath() const
{
    const auto paths = volumePaths();
    std::lock_guard lock(mutex_);
    for (const auto& entry : trashFilesDictionary_)
        if (std::find(paths.begin(), paths.end(), entry.first) == paths.end())
            return entry.first;
    return std::nullopt;
}

std::vector<std::string> External::watchedTrashFolders() const
{
    std::vector<std::string> folders;
    for (const auto& volume : volumePaths()) {
        const std::string trash = trashFolderOf(volume);
        const int fd = posix::openDirectoryNoFollow(trash);
        if (fd < 0)
            continue;
        folders.push_back(trash);
        for (const auto& user : posix::listDirectoryAt(fd)) {
            const int userFd = posix::openDirectoryAt(fd, user.c_str());
            if (userFd >= 0) {
                folders.push_back(posix::joinPath(trash, user));
                close(userFd);
            }
        }
        close(fd);
    }
    return folders;
}

// --- root items, through descriptors so that a link never leads a listing elsewhere

void External::forEachRootItem(const std::string& volumePath, const RootItemVisitor& visit) const
{
    // ".Trashes" or a per-user folder that is a symbolic link is not a trash: opening
    // without following it fails, and so does opening a plain file or an unreadable folder.
    const int trashFd = posix::openDirectoryNoFollow(trashFolderOf(volumePath));
    if (trashFd < 0)
        return;
    for (const auto& user : posix::listDirectoryAt(trashFd)) {
        const int userFd = posix::openDirectoryAt(trashFd, user.c_str());
        if (userFd < 0)
            continue;
        for (const auto& name : posix::listDirectoryAt(userFd))
            visit(userFd, posix::joinPath(user, name), name.c_str());
        close(userFd);
    }
    close(trashFd);
}

std::vector<std::string> External::rootArrayWithPath(const std::string& volumePath) const
{
    std::vector<std::string> items;
    forEachRootItem(volumePath, [&items](int, const std::string& rootItem, const char*) { items.push_back(rootItem); });
    return items;
}

int External::trashFileCountWithPath(const std::string& volumePath) const
{
    return static_cast<int>(rootArrayWithPath(volumePath).size());
}

// Measures every root item, or only those named in `only`.
TrashFiles External::measureRootItems(const std::string& volumePath, const std::vector<std::string>* only) const
{
    TrashFiles measured;
    if (only && only->empty())
        return measured;
    std::vector<std::string> wanted = only ? *only : std::vector<std::string>();
    std::sort(wanted.begin(), wanted.end());
    forEachRootItem(volumePath, [&](int userFd, const std::string& rootItem, const char* name) {
        if (!only || std::binary_search(wanted.begin(), wanted.end(), rootItem))
            measured[rootItem] = outUtility_->measuredSizeAt(userFd, name);
    });
    return measured;
}

// Applies `change` to the volume's table (created when missing) and returns its new sum.
double External::storeTrashFiles(const std::string& volumePath, const std::function<void(TrashFiles&)>& change)
{
    std::lock_guard lock(mutex_);
    TrashFiles& files = trashFilesDictionary_[volumePath];
    change(files);
    return sumOf(files);
}

std::optional<TrashFiles> External::trashFilesAtPath(const std::string& volumePath) const
{
    std::lock_guard lock(mutex_);
    const auto it = trashFilesDictionary_.find(volumePath);
    if (it == trashFilesDictionary_.end())
        return std::nullopt;
    return it->second;
}

// --- tables and measurements

void External::initTrashFiles()
{
    std::lock_guard lock(mutex_);
    trashFilesDictionary_.clear();
}

void External::initTrashFilesAtPath(const std::string& volumePath)
{
    std::lock_guard lock(mutex_);
    trashFilesDictionary_.erase(volumePath);
}

void External::removeTrashSizeAtPath(const std::optional<std::string>& volumePath)
{
    if (volumePath)
        initTrashFilesAtPath(*volumePath);
}

void External::takeMeasuringFlag(const std::string& volumePath)
{
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            Books& books = books_[volumePath];
            if (!books.measuring) {
                books.measuring = true;
                books.status = kMeasuring;
                return;
            }
        }
        platform_.clock->sleepFor(Seconds(1.0));
    }
}

void External::releaseMeasuringFlag(const std::string& volumePath)
{
    updateBooks(volumePath, [](Books& books) {
        books.status = kStandingBy;
        books.measuring = false;
    });
}

void External::logMeasurement(const char* what, const std::string& volumePath, TimePoint started) const
{
    const double interval = Seconds(platform_.clock->now() - started).count();
    logVerbose(*platform_.log, *platform_.keys, strprintf("%s=%f(%s)", what, interval, volumePath.c_str()));
    logVerbose(*platform_.log, *platform_.keys, strprintf("trashSize=%f", trashSizeWithPath(volumePath)));
}

void External::initTrashSizeAtPath(const std::string& volumePath)
{
    const TimePoint started = platform_.clock->now();
    takeMeasuringFlag(volumePath);

    // A link is never repaired, and a volume without a trash folder has nothing to repair:
    // asking for the administrator's password over a missing folder would only puzzle.
    const std::string trash = trashFolderOf(volumePath);
    const auto status = posix::lstatPath(trash);
    if (status && S_ISLNK(status->st_mode))
        platform_.log->line(strprintf("Volume trash %s is a symbolic link; it is not measured or emptied", trash.c_str()));
    else if (status && S_ISDIR(status->st_mode))
        outSecurity_->folderEnabler(trash);

    // The new table replaces the old one whole, so items that left the trash leave the
    // table, and the counter is the table's sum.
    TrashFiles measured = measureRootItems(volumePath, nullptr);
    const double sum = storeTrashFiles(volumePath, [&measured](TrashFiles& files) { files = std::move(measured); });
    if (auto* counter = counterAt(volumePath))
        counter->store(sum);

    releaseMeasuringFlag(volumePath);
    logMeasurement("External:initTrashSizeAtPath interval", volumePath, started);
}

void External::renewTrashSizeAtPath(const std::string& volumePath)
{
    const TimePoint started = platform_.clock->now();
    takeMeasuringFlag(volumePath);

    const std::vector<std::string> present = rootArrayWithPath(volumePath);
    std::vector<std::string> recorded;
    if (auto files = trashFilesAtPath(volumePath))
        for (const auto& entry : *files)
            recorded.push_back(entry.first);
    const auto added = outUtility_->addedFilesWithPresent(present, recorded);
    const auto removed = outUtility_->removedFilesWithPresent(present, recorded);

    TrashFiles arrivals = measureRootItems(volumePath, &added);
    // The counter follows the table: what the shredder already took off an item that is
    // now gone is not taken off again.
    const double sum = storeTrashFiles(volumePath, [&](TrashFiles& files) {
        for (auto& [name, size] : arrivals)
            files[name] = size;
        for (const auto& name : removed)
            files.erase(name);
    });
    if (auto* counter = counterAt(volumePath))
        counter->store(sum);

    releaseMeasuringFlag(volumePath);
    logMeasurement("External:renewTrashSizeAtPath interval", volumePath, started);
}

void External::initTrashSizeThreadAtPath(const std::string& volumePath)
{
    platform_.workers->start([this, volumePath] { initTrashSizeAtPath(volumePath); });
}

void External::renewTrashSizeThreadAtPath(const std::string& volumePath)
{
    platform_.workers->start([this, volumePath] { renewTrashSizeAtPath(volumePath); });
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
    // The float ratio is widened, not rounded to a decimal, as for the home trash.
    return std::trunc(static_cast<double>(outPrefs_->minimumRatio()) * totalSizeWithPath(volumePath));
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

External::Books External::booksAt(const std::string& volumePath) const
{
    std::lock_guard lock(mutex_);
    const auto it = books_.find(volumePath);
    return it == books_.end() ? Books() : it->second;
}

void External::updateBooks(const std::string& volumePath, const std::function<void(Books&)>& change)
{
    std::lock_guard lock(mutex_);
    change(books_[volumePath]);
}

int External::trashStatusWithDrive(int drive) const
{
    const std::string path = volumePathWithDrive(drive);
    return path.empty() ? 0 : booksAt(path).status;
}

void External::setTrashStatus(int status, const std::string& volumePath)
{
    updateBooks(volumePath, [status](Books& b) { b.status = status; });
}

void External::renewTrashStatusAll()
{
    for (const auto& path : volumePaths())
        setTrashStatus(kStandingBy, path);
}

bool External::trashSizeingAtPath(const std::string& volumePath) const
{
    return booksAt(volumePath).measuring;
}

bool External::trashSizeingWithDrive(int drive) const
{
    const std::string path = volumePathWithDrive(drive);
    return !path.empty() && booksAt(path).measuring;
}

bool External::trashSizeing() const
{
    for (const auto& path : volumePaths())
        if (booksAt(path).measuring)
            return true;
    return false;
}

void External::setTrashSizeing(bool on, const std::string& volumePath)
{
    updateBooks(volumePath, [on](Books& b) { b.measuring = on; });
}

void External::renewTrashSizeing()
{
    for (const auto& path : volumePaths())
        setTrashSizeing(false, path);
}

bool External::checkTrashCountChangeAtPath(const std::string& volumePath)
{
    const int count = trashFileCountWithPath(volumePath);
    if (count == lastTrashCountAtPath(volumePath))
        return false;
    setLastTrashCount(count, volumePath);
    return true;
}

bool External::checkFreeSizeChangeAtPath(const std::string& volumePath)
{
    const double free = freeSizeWithPath(volumePath);
    const double difference = free - lastFreeSizeAtPath(volumePath);
    if (difference > kFreeSizeChange || difference < -kFreeSizeChange) {
        setLastFreeSize(free, volumePath);
        return true;
    }
    return false;
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
    return booksAt(volumePath).lastTrashFileCount;
}

void External::setLastTrashCount(int count, const std::string& volumePath)
{
    updateBooks(volumePath, [count](Books& b) { b.lastTrashFileCount = count; });
}

double External::lastFreeSizeAtPath(const std::string& volumePath) const
{
    return booksAt(volumePath).lastFreeSize;
}

void External::setLastFreeSize(double bytes, const std::string& volumePath)
{
    updateBooks(volumePath, [bytes](Books& b) { b.lastFreeSize = bytes; });
}

bool External::shredModeAtPath(const std::string& volumePath) const
{
    return booksAt(volumePath).shredMode;
}

void External::setShredMode(bool on, const std::string& volumePath)
{
    updateBooks(volumePath, [on](Books& b) { b.shredMode = on; });
}

void External::setAllShredMode(bool on)
{
    for (const auto& path : volumePaths())
        setShredMode(on, path);
}

} // namespace bw
