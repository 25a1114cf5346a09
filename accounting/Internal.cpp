#include "accounting/Internal.h"

#include "accounting/TrashFolders.h"
#include "accounting/TrashItemRows.h"

#include "manager/Manager.h"
#include "settings/Preferences.h"
#include "finder/Utility.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/ModifierKeys.h"
#include "platform/Platform.h"
#include "platform/SpaceSource.h"
#include "platform/Strings.h"
#include "platform/TrashItemChooser.h"
#include "platform/VolumeSource.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

Internal::Internal(const Platform& platform)
    : platform_(platform),
      owner_(currentTrashOwner(platform.homeDirectory, platform.dataHome)),
      trashPath_(posix::joinPath(platform.homeDirectory, ".Trash")),
      books_(
          platform, "Home trash",
          [this] {
              // A platform without a volume source (a test of the home trash alone) has no
              // volume to hand a folder of another file system to.
              return homeItemFolders(owner_, [this] {
                  return platform_.volumes ? platform_.volumes->volumePaths() : std::vector<std::string>();
              });
          },
          [this](bool measuring) {
              if (measuring)
                  outManager_->setMenuIconMeasuring();
              else
                  outManager_->setMenuIcon();
          })
{
}

void Internal::wire(Manager& manager, Preferences& prefs, Utility& utility)
{
    outManager_ = &manager;
    outPrefs_ = &prefs;
    outUtility_ = &utility;
}

void Internal::awakeFromNib()
{
    trashSize_.store(0.0);
    books_.setMeasuring(false);
    books_.setStatus(kStandingBy);
    books_.setLastFreeSize(0.0);
    books_.setLastCount(0);
    initTrashFiles();
    initTrashDataThread();
    books_.setShredMode(false);
}

std::vector<std::string> Internal::rootArray() const
{
    return books_.rootItems();
}

int Internal::trashFileCount() const
{
    return books_.rootItemCount();
}

TrashFiles Internal::trashFiles() const
{
    return books_.items().value_or(TrashFiles());
}

void Internal::initTrashFiles()
{
    books_.forgetItems();
}

TrashWatch Internal::watchedFolders() const
{
    TrashWatch watch;
    for (const TrashLayout* layout : trashLayouts())
        layout->addHomeParents(owner_, watch);
    addWatchesOf(itemFolders(), std::numeric_limits<size_t>::max(), watch);
    return watch;
}

// --- measurements

void Internal::logTimes(const char* line, TimePoint started) const
{
    if (!isTracing(*platform_.keys))
        return;
    const double interval = Seconds(platform_.clock->now() - started).count();
    platform_.log->line(strprintf(line, interval));
    platform_.log->line(strprintf("trashSize=%f", trashSize_.load()));
}

void Internal::initTrashSize()
{
    const TimePoint started = platform_.clock->now();
    books_.measureAll(*outUtility_, &trashSize_);
    logTimes("Internal:initTrashSizeAtPath interval=%f", started);
}

void Internal::renewTrashSize()
{
    const TimePoint started = platform_.clock->now();
    books_.measureChanges(*outUtility_, &trashSize_);
    logTimes("Internal:renewTrashSize intervalTime=%f", started);
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
    return books_.checkCountChange();
}

bool Internal::checkFreeSizeChange()
{
    return books_.checkFreeSizeChange(freeSize());
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

std::string Internal::volumeAnchor() const
{
    return startupAnchor(owner_);
}

std::string Internal::volumeMountPoint() const
{
    return mountPointOf(volumeAnchor());
}

std::string Internal::volumeName() const
{
    return posix::lastComponent(volumeMountPoint());
}

double Internal::totalSize() const
{
    // The volume is the one that holds the home trash, which need not be "/".
    return platform_.space->figures(volumeAnchor()).capacity;
}

double Internal::freeSize() const
{
    return platform_.space->figures(volumeAnchor()).free;
}

double Internal::usedSize() const
{
    return totalSize() - freeSize() - trashSize();
}

double Internal::miniSizeWithRatio(float ratio) const
{
    return minimumFreeSize(ratio, totalSize());
}

double Internal::miniSize() const
{
    return miniSizeOf(totalSize());
}

SpaceFigures Internal::spaceFigures() const
{
    return platform_.space->figures(volumeAnchor());
}

double Internal::miniSizeOf(double capacity) const
{
    // The startup volume's own minimum where it has one, a size or a share.
    return outPrefs_->rulesAt(volumeMountPoint()).minimumFreeFor(capacity);
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
    const auto folders = itemFolders();
    TrashItemChooserContent content;
    content.title = platform_.strings->localized("DeleteChosenTitle");
    content.prompt = platform_.strings->localized("Delete");
    content.message = platform_.strings->localized("NoteSelect");
    content.rows = trashItemRows(folders, books_.items(), *platform_.strings);
    auto chosen = platform_.itemChooser->runModal(content);
    if (!chosen)
        return std::nullopt;
    for (const auto& path : *chosen) {
        // Anything but an offered row (a trash folder itself, something inside an item,
        // a path from elsewhere) makes the whole choice void: only root items of the trash
        // may be handed to the shredder.
        const bool offered = std::any_of(content.rows.begin(), content.rows.end(),
                                         [&](const TrashItemRow& row) { return row.path == path; });
        if (!offered) {
            platform_.log->line(strprintf("Chosen item %s is not a trash item; nothing is deleted", path.c_str()));
            return std::nullopt;
        }
    }
    return chosen;
}

} // namespace bw
