#include "manager/Manager.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashSnapshot.h"
#include "settings/Preferences.h"
#include "deletion/Shredder.h"
#include "finder/Utility.h"
#include "infopanel/Volume.h"
#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/InfoPanelView.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/PrefsPanelView.h"
#include "platform/SpaceSource.h"
#include "platform/StatusItem.h"
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace bw {

namespace {

constexpr Seconds kChangeWait{1.0};

const char* const kEmptyToolTip = "Trash is empty condition";
const char* const kWatchingToolTip = "Watching trash condition";
const char* const kShreddingToolTip = "Shredding trash files";
const char* const kMeasuringToolTip = "Measuring trash condition";

} // namespace

Manager::Manager(const Platform& platform)
    : platform_(platform), prefPanel_(platform.prefsPanel), trashPanel_(platform.infoPanel)
{
}

Manager::~Manager()
{
    stopTimers();
}

void Manager::stopTimers()
{
    for (MainLoop::TimerId* timer : {&monitorTimer_, &changeTimer_, &spaceTimer_}) {
        if (*timer != MainLoop::kNoTimer)
            platform_.mainLoop->cancelTimer(*timer);
        *timer = MainLoop::kNoTimer;
    }
}

void Manager::wire(Internal& internal, Preferences& prefs, Shredder& shredder, External& external, Volume& volume,
                   Utility& utility, Security& security)
{
    outInternal_ = &internal;
    outPrefs_ = &prefs;
    outShredder_ = &shredder;
    outExternal_ = &external;
    outVolume_ = &volume;
    outUtility_ = &utility;
    outSecurity_ = &security;
}

// --- lifecycle

void Manager::awakeFromNib()
{
    monitorTimer_ = MainLoop::kNoTimer;
    // The item stays without picture until the first icon update.
    platform_.statusItem->show();
    statusItem_.store(platform_.statusItem);
    if (platform_.infoPanel)
        attachPanelCommands(*platform_.infoPanel);
}

void Manager::applicationDidFinishLaunching()
{
    // The notification feed is connected to trashChanged() by the application itself.
    if (outInternal_->trashSizeing())
        setMenuIconMeasuring();
    else
        setMenuIcon();
    sizeMonitor();
}

bool Manager::applicationShouldHandleReopen()
{
    sizeMonitor();
    return false;
}

void Manager::applicationWillTerminate()
{
    stopTimers();
    saveFrame(keys::PreferencesPanel, prefPanel_);
    saveFrame(keys::TrashInformationPanel, trashPanel_);
}

void Manager::saveFrame(const char* name, const FramedPanel* panel)
{
    // A desktop without panels (headless) has none to keep.
    if (!panel)
        return;
    const std::string frame = panel->frameText();
    if (frame.empty())
        return;
    platform_.defaults->setString(name, frame);
    // The store keeps changes in memory until it is flushed, and the process is ending.
    platform_.defaults->synchronize();
}

// --- monitor loop

void Manager::sizeMonitor()
{
    platform_.mainLoop->cancelTimer(monitorTimer_);
    monitorTimer_ = MainLoop::kNoTimer;
    if (!outShredder_->isShredding() && !outShredder_->isPartialShredding())
        outShredder_->autoShred();
    monitorTimer_ = platform_.mainLoop->startTimer(Seconds(timerInterval()), [this] {
        monitorTimer_ = MainLoop::kNoTimer;
        sizeMonitor();
    });
}

double Manager::timerInterval()
{
    const float interval = outPrefs_->monitorInterval();
    const double used = std::isnan(interval) ? kShortestInterval
                                             : std::clamp(static_cast<double>(interval), kShortestInterval,
                                                          kLongestInterval);
    const bool outOfRange = !(used == static_cast<double>(interval));
    // Once, not at every tick.
    if (outOfRange && !intervalReported_)
        platform_.log->line(strprintf("Monitor interval %g s is out of range; the monitor runs every %g s",
                                      static_cast<double>(interval), used));
    intervalReported_ = outOfRange;
    return used;
}

void Manager::trashChanged(const std::string& name)
{
    if (name != kDirectoryNotification && name != kIndexingNotification)
        return;
    // A change during the wait is seen by the drive check and the tick that end it.
    if (changeTimer_ != MainLoop::kNoTimer)
        return;
    changeTimer_ = platform_.mainLoop->startTimer(kChangeWait, [this] {
        changeTimer_ = MainLoop::kNoTimer;
        checkDrives();
        sizeMonitor();
    });
}

void Manager::startSpacePoll()
{
    if (polledHome_.empty()) {
        polledHome_ = outInternal_->volumeAnchor();
        polledVolumes_ = outExternal_->volumePaths();
    }
    spaceTimer_ = platform_.mainLoop->startTimer(Seconds(kSpacePollInterval), [this] {
        spaceTimer_ = MainLoop::kNoTimer;
        pollFreeSpace();
        startSpacePoll();
    });
}

void Manager::pollFreeSpace()
{
    bool wantsPass = false;
    // A trash counts as short from the look that found it so to the first that does not; a
    // trash found short while a pass runs is looked at again, since that pass may be ending.
    const auto look = [&](const std::string& key, double freeSize, double minimum) {
        const bool isShort = freeSize < minimum;
        const bool fell = isShort && !shortTrashes_.contains(key);
        if (isShort)
            shortTrashes_.insert(key);
        else
            shortTrashes_.erase(key);
        return fell;
    };
    const SpaceFigures home = platform_.space->figures(polledHome_);
    const double homeMinimum = outInternal_->miniSizeOf(home.capacity);
    wantsPass = look("", home.free, homeMinimum);
    for (const auto& path : polledVolumes_) {
        // One that does not answer is not asked: its statvfs could hang as well.
        if (!outExternal_->isAnsweringAtPath(path)) {
            outExternal_->noteNotAnsweringAtPath(path);
            continue;
        }
        const bool answersAgain = outExternal_->takeAnsweringAgainAtPath(path);
        const SpaceFigures space = platform_.space->figures(path);
        const bool fell = look(path, space.free, outExternal_->miniSizeOf(space.capacity, path));
        wantsPass = wantsPass || fell || (answersAgain && shortTrashes_.contains(path));
    }

    if (wantsPass) {
        if (outShredder_->isPassRunning() || outShredder_->hasChosenItemsWaiting())
            shortTrashes_.clear(); // the running deletion may be past them: asked again next time
        else
            outShredder_->autoShred();
    }
    // The home level is drawn anew only when it moved, and never over a running pass's icon.
    const Level level = levelOf(outInternal_->trashSize(), home.free, homeMinimum);
    if (polledLevel_ != level && !outShredder_->isShredding() && !outShredder_->isPartialShredding()) {
        polledLevel_ = level;
        setMenuIcon();
    }
}

void Manager::checkDrives()
{
    // The count says only that something changed: two volumes mounted within one burst, or
    // one swapped for another, leave it at +1 or 0. So every mounted volume without books
    // is set up, unless its first measurement runs already, and every vanished one dropped.
    outExternal_->checkDriveChanged();
    // The volumes whose free space is looked at between ticks.
    if (!polledHome_.empty())
        polledVolumes_ = outExternal_->volumePaths();
    for (const auto& path : outExternal_->volumePaths())
        if (!outExternal_->trashFilesAtPath(path) && !outExternal_->trashSizeingAtPath(path))
            outExternal_->installTrashSizeThreadAtPath(path);
    std::set<std::string> dropped;
    while (auto path = outExternal_->removedVolumePath()) {
        if (!dropped.insert(*path).second)
            break;
        outExternal_->removeTrashSizeAtPath(path);
    }
}

// --- status icon and tool tip

Manager::Level Manager::trashLevel() const
{
    return levelOf(outInternal_->trashSize(), outInternal_->freeSize(), outInternal_->miniSize());
}

// The trash against what it could grow to before the volume is short: free space and the
// trash itself, less the minimum.
Manager::Level Manager::levelOf(double trashSize, double freeSize, double minimum) const
{
    const double full = freeSize + trashSize - minimum;
    if (trashSize == 0.0)
        return Level::Empty;
    if (trashSize >= 0.9 * full)
        return Level::Full;
    if (trashSize >= 0.5 * full)
        return Level::Half;
    return Level::Used;
}

void Manager::setMenuIcon()
{
    static const char* const pictures[] = {"EmptyTrash.png", "UsedTrash.png", "HalfTrash.png", "FullTrash.png"};
    std::lock_guard lock(iconMutex_);
    const Level level = trashLevel();
    std::string toolTip = level == Level::Empty ? kEmptyToolTip : kWatchingToolTip;
    if (outShredder_->isShredding() || outShredder_->isPartialShredding())
        toolTip = kShreddingToolTip;
    showIcon(pictures[static_cast<int>(level)], toolTip);
}

void Manager::setMenuIconMeasuring()
{
    static const char* const pictures[] = {"EmptyTrashMeasure.png", "UsedTrashMeasure.png", "HalfTrashMeasure.png",
                                           "FullTrashMeasure.png"};
    if (!statusItem())
        return;
    std::lock_guard lock(iconMutex_);
    showIcon(pictures[static_cast<int>(trashLevel())], kMeasuringToolTip);
}

void Manager::setIconToolTip(const std::string& text)
{
    StatusItem* item = statusItem();
    if (!item)
        return;
    onMainThread([item, text] { item->setToolTip(text); });
}

void Manager::showIcon(const std::string& picture, const std::string& toolTip)
{
    StatusItem* item = statusItem();
    if (!item)
        return;
    // Read here, with the level: what a screen reader announces is the figures of now.
    const TrashState home = homeTrashFigures(*outInternal_);
    const ToolTipFigures figures{home.bytes, home.free, home.minimumFree};
    onMainThread([item, picture, toolTip, figures] {
        item->setImage(picture);
        item->setToolTip(toolTip);
        item->setFigures(figures);
    });
}

void Manager::onMainThread(std::function<void()> update)
{
    // Straight away only when no earlier update is still queued, so the last call wins.
    if (platform_.mainLoop->isMainThread() && pendingUpdates_.load() == 0) {
        update();
        return;
    }
    ++pendingUpdates_;
    platform_.mainLoop->post([this, update = std::move(update)] {
        update();
        --pendingUpdates_;
    });
}

// --- menu actions

void Manager::actQuit()
{
    platform_.mainLoop->quit();
}

void Manager::actSizeMonitor()
{
    sizeMonitor();
}

} // namespace bw
