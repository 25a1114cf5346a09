#include "accounting/Internal.h"

#include "app/Controllers.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/OpenPanel.h"
#include "platform/Platform.h"
#include "platform/SpaceSource.h"
#include "platform/Strings.h"
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

enum Refusal { kAccepted = 0, kIsLink = 1, kForeignOwner = 2 };

// Why a home trash folder with this status may not be used; kAccepted when it may.
Refusal refusalOf(const struct stat& st)
{
    if (S_ISLNK(st.st_mode))
        return kIsLink;
    if (st.st_uid != geteuid())
        return kForeignOwner;
    return kAccepted;
}

// Whether `path` lies strictly inside `folder`, without a "." or ".." step that could lead
// back out of it.
bool isInside(const std::string& path, const std::string& folder)
{
    if (path.size() <= folder.size() + 1 || path.compare(0, folder.size(), folder) != 0 || path[folder.size()] != '/')
        return false;
    const std::string rest = path.substr(folder.size() + 1);
    for (size_t at = 0; at <= rest.size();) {
        const size_t slash = std::min(rest.find('/', at), rest.size());
        const std::string step = rest.substr(at, slash - at);
        if (step == "." || step == "..")
            return false;
        at = slash + 1;
    }
    return true;
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

Internal::Internal(const Platform& platform)
    : platform_(platform), trashPath_(posix::joinPath(platform.homeDirectory, ".Trash"))
{
}

void Internal::wire(Controllers& c)
{
    outShredder_ = &c.shredder;
    outManager_ = &c.manager;
    outPrefs_ = &c.preferences;
    outUtility_ = &c.utility;
    outSecurity_ = &c.security;
}

void Internal::awakeFromNib()
{
    trashSize_.store(0.0);
    trashSizeing_.store(false);
    trashStatus_.store(kStandingBy);
    lastFreeSize_.store(0.0);
    lastTrashFileCount_.store(0);
    initTrashFiles();
    initTrashDataThread();
    shredMode_.store(false);
}

// --- the trash folder itself

bool Internal::isUsableTrash() const
{
    const auto st = posix::lstatPath(trashPath_);
    const Refusal refusal = st ? refusalOf(*st) : kAccepted;
    // Say it once, not at every look.
    if (lastRefusal_.exchange(refusal) != refusal && refusal != kAccepted) {
        platform_.log->line(refusal == kIsLink
                                ? strprintf("Home trash %s is a symbolic link; it is not measured or emptied",
                                            trashPath_.c_str())
                                : strprintf("Home trash %s is not owned by this user; it is not measured or emptied",
                                            trashPath_.c_str()));
    }
    return st && refusal == kAccepted && S_ISDIR(st->st_mode);
}

std::vector<std::string> Internal::rootArray() const
{
    if (!isUsableTrash())
        return {};
    return posix::listRealDirectory(trashPath_);
}

int Internal::trashFileCount() const
{
    return static_cast<int>(rootArray().size());
}

TrashFiles Internal::trashFiles() const
{
    std::lock_guard lock(trashFilesMutex_);
    return trashFiles_;
}

double Internal::sumOfTrashFiles() const
{
    std::lock_guard lock(trashFilesMutex_);
    double sum = 0.0;
    for (const auto& [name, size] : trashFiles_)
        sum += size;
    return sum;
}

void Internal::initTrashFiles()
{
    std::lock_guard lock(trashFilesMutex_);
    trashFiles_.clear();
}

// --- measurements

void Internal::takeMeasuringFlag()
{
    bool expected = false;
    while (!trashSizeing_.compare_exchange_strong(expected, true)) {
        expected = false;
        platform_.clock->sleepFor(Seconds(1.0));
    }
    trashStatus_.store(kMeasuring);
    outManager_->setMenuIconMeasuring();
}

void Internal::releaseMeasuringFlag()
{
    trashStatus_.store(kStandingBy);
    outManager_->setMenuIcon();
    trashSizeing_.store(false);
}

void Internal::initTrashSize()
{
    const TimePoint started = platform_.clock->now();
    takeMeasuringFlag();

    // Measure through the folder's descriptor, so a swap of the folder for a link after
    // the check cannot lead the walk elsewhere.
    TrashFiles measured;
    const int fd = isUsableTrash() ? posix::openDirectoryNoFollow(trashPath_) : -1;
    if (fd >= 0) {
        struct stat st {};
        if (fstat(fd, &st) == 0 && refusalOf(st) == kAccepted) {
            for (const auto& name : posix::listDirectoryAt(fd))
                measured[name] = outUtility_->measuredSizeAt(fd, name);
        }
        close(fd);
    }
    // Items that left the trash since the last measurement leave the table too, and the
    // counter is the table's sum, so a later incremental measurement never takes an item
    // off twice.
    double sum = 0.0;
    for (const auto& [name, size] : measured)
        sum += size;
    {
        std::lock_guard lock(trashFilesMutex_);
        trashFiles_ = std::move(measured);
    }
    trashSize_.store(sum);

    releaseMeasuringFlag();
    const double interval = Seconds(platform_.clock->now() - started).count();
    logVerbose(*platform_.log, *platform_.keys, strprintf("Internal:initTrashSizeAtPath interval=%f", interval));
    logVerbose(*platform_.log, *platform_.keys, strprintf("trashSize=%f", trashSize_.load()));
}

void Internal::renewTrashSize()
{
    const TimePoint started = platform_.clock->now();
    takeMeasuringFlag();

    const std::vector<std::string> present = rootArray();
    std::vector<std::string> recorded;
    {
        std::lock_guard lock(trashFilesMutex_);
        recorded.reserve(trashFiles_.size());
        for (const auto& entry : trashFiles_)
            recorded.push_back(entry.first);
    }
    const auto added = outUtility_->addedFilesWithPresent(present, recorded);
    const auto removed = outUtility_->removedFilesWithPresent(present, recorded);

    TrashFiles arrivals;
    const int fd = added.empty() ? -1 : posix::openDirectoryNoFollow(trashPath_);
    if (fd >= 0) {
        for (const auto& name : added)
            arrivals[name] = outUtility_->measuredSizeAt(fd, name);
        close(fd);
    }
    {
        std::lock_guard lock(trashFilesMutex_);
        for (auto& [name, size] : arrivals)
            trashFiles_[name] = size;
        for (const auto& name : removed)
            trashFiles_.erase(name);
    }
    // The counter follows the table: what the shredder already took off an item that is
    // now gone is not taken off again.
    trashSize_.store(sumOfTrashFiles());

    releaseMeasuringFlag();
    const double interval = Seconds(platform_.clock->now() - started).count();
    logVerbose(*platform_.log, *platform_.keys, strprintf("Internal:renewTrashSize intervalTime=%f", interval));
    logVerbose(*platform_.log, *platform_.keys, strprintf("trashSize=%f", trashSize_.load()));
}

void Internal::initTrashSizeThread()
{
    platform_.workers->start([this] { initTrashSize(); });
}

void Internal::renewTrashSizeThread()
{
    platform_.workers->start([this] { renewTrashSize(); });
}

void Internal::initTrashDataThread()
{
    initTrashSizeThread();
    checkTrashCountChange();
    checkFreeSizeChange();
}

void Internal::initTrashData()
{
    initTrashSize();
    checkTrashCountChange();
    checkFreeSizeChange();
}

// --- change checks

bool Internal::checkTrashCountChange()
{
    const int count = trashFileCount();
    if (count == lastTrashFileCount_.load())
        return false;
    lastTrashFileCount_.store(count);
    return true;
}

bool Internal::checkFreeSizeChange()
{
    const double free = freeSize();
    const double difference = free - lastFreeSize_.load();
    if (difference > kFreeSizeChange || difference < -kFreeSizeChange) {
        lastFreeSize_.store(free);
        return true;
    }
    return false;
}

// --- figures of the volume that holds the home trash

namespace {

// The mount point of the file system that holds `path`: the highest folder above it on
// the same device.
std::string mountPointOf(const std::string& path)
{
    char* real = realpath(path.c_str(), nullptr);
    if (!real)
        return "/";
    std::string current(real);
    free(real);
    struct stat here {};
    if (stat(current.c_str(), &here) != 0)
        return "/";
    while (current != "/") {
        const std::string parent = posix::parentPath(current);
        struct stat up {};
        if (stat(parent.c_str(), &up) != 0 || up.st_dev != here.st_dev)
            break;
        current = parent;
    }
    return current;
}

} // namespace

std::string Internal::volumeName() const
{
    const std::string mountPoint = mountPointOf(isUsableTrash() ? trashPath_ : platform_.homeDirectory);
    return posix::lastComponent(mountPoint);
}

double Internal::totalSize() const
{
    // The volume is the one that holds the home trash, which need not be "/".
    return platform_.space->figures(isUsableTrash() ? trashPath_ : platform_.homeDirectory).capacity;
}

double Internal::freeSize() const
{
    return platform_.space->figures(isUsableTrash() ? trashPath_ : platform_.homeDirectory).free;
}

double Internal::usedSize() const
{
    return totalSize() - freeSize() - trashSize();
}

double Internal::miniSizeWithRatio(float ratio) const
{
    // The float ratio is widened, not rounded to a decimal: 0.1f gives 0.10000000149...
    return std::trunc(static_cast<double>(ratio) * totalSize());
}

double Internal::miniSize() const
{
    return miniSizeWithRatio(outPrefs_->minimumRatio());
}

double Internal::fullTrashSize() const
{
    return freeSize() + trashSize() - miniSize();
}

double Internal::fullTrashSizeWithRatio(float ratio) const
{
    return freeSize() + trashSize() - miniSizeWithRatio(ratio);
}

// --- trash item chooser

std::optional<std::vector<std::string>> Internal::selectTrashFile()
{
    OpenPanelOptions options;
    options.allowsMultipleSelection = true;
    options.canChooseDirectories = true;
    options.canChooseFiles = true;
    options.title = " ";
    options.prompt = platform_.strings->localized("Delete");
    options.message = platform_.strings->localized("NoteSelect");
    options.startDirectory = trashPath_;
    auto chosen = platform_.openPanel->runModal(options, [this](OpenPanel& p) { panel(p); });
    if (!chosen)
        return std::nullopt;
    for (const auto& path : *chosen) {
        // The trash folder itself, or anything typed in that lies outside it, makes the
        // whole choice void: only trash items may be handed to the shredder.
        if (!isInside(withoutTrailingSlash(path), trashPath_)) {
            if (withoutTrailingSlash(path) != trashPath_)
                platform_.log->line(strprintf("Chosen item %s is not in the trash; nothing is deleted", path.c_str()));
            return std::nullopt;
        }
    }
    return chosen;
}

void Internal::panel(OpenPanel& openPanel)
{
    const std::string directory = withoutTrailingSlash(openPanel.directory());
    // The trash folder and the folders inside it; a sibling whose name merely begins
    // with ".Trash" is outside.
    if (directory != trashPath_ && !isInside(directory, trashPath_))
        openPanel.setDirectory(trashPath_);
}

} // namespace bw
