#pragma once
#include "deletion/DeletionEvent.h"
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sys/types.h>
#include <utility>
#include <string>
#include <vector>

#include "platform/MainLoop.h"

namespace bw {

class External;
class FramedPanel;
class HistoryPanel;
class Internal;
class Preferences;
class Security;
class Shredder;
class StatusItem;
class Utility;
class Volume;
struct Platform;
struct TrashSnapshot;

// The notification names the monitor reacts to.
inline constexpr const char* kDirectoryNotification = "com.apple.carbon.core.DirectoryNotification";
inline constexpr const char* kIndexingNotification = "com.apple.metadata.indexing_notification";

// The application controller: the status item, the monitor loop, the status icon and
// the status menu.
class Manager {
public:
    explicit Manager(const Platform& platform);
    ~Manager();
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;
    void wire(Internal& internal, Preferences& prefs, Shredder& shredder, External& external, Volume& volume,
              Utility& utility, Security& security);
    // The History window's controller, where the program keeps one; wired before the menu opens.
    void wireHistory(HistoryPanel& history) { outHistory_ = &history; }

    // --- lifecycle
    void awakeFromNib();
    void applicationDidFinishLaunching();
    // Runs a monitor tick; false: no window is to be opened.
    bool applicationShouldHandleReopen();
    void applicationWillTerminate();

    // --- monitor loop
    void sizeMonitor();
    void trashChanged(const std::string& name);
    // Looks at the free space of every watched volume (one statvfs each, nothing more): a
    // volume that has just fallen below its minimum, or that answers again while below it,
    // starts a pass at once, and the icon follows the home volume's level. Main thread.
    void pollFreeSpace();
    // Looks at free space every kSpacePollInterval from now on, beside the monitor's ticks.
    void startSpacePoll();
    static constexpr double kSpacePollInterval = 2.0;

    // --- status icon and tool tip; callable from any thread
    void setMenuIcon();
    void setMenuIconMeasuring();
    void setIconToolTip(const std::string& text);
    // Null until awakeFromNib() has put the item up.
    StatusItem* statusItem() const { return statusItem_.load(); }

    // --- menu actions
    void actQuit();
    void actSizeMonitor();
    void actDummy() {}

    // --- status menu
    // Title, picture and enabled state of one item, recomputed before every opening.
    struct MenuItemState validateMenuItem(int tag);
    // The status menu's items in their order, with their actions.
    std::vector<struct MenuEntry> menuEntries();
    // Gives the status menu its items in their order, with their actions and validation.
    void attachMenu(class StatusMenu& menu);
    // Gives the information panel the menu's commands, for a desktop without a tray.
    void attachPanelCommands(class InfoPanelView& panel);
    void actPreferences();
    void actDispInformation();
    void actHistory();
    void actForcedTrash();
    // Marks every trash for a forced emptying and starts it, without asking.
    void startForcedTrash(DeletionReason reason = DeletionReason::ForcedEmptying);
    // Asks a running forced emptying to stop (the stop of actForcedTrash); nothing otherwise.
    void stopForcedTrash();
    void actDeleteSelects();
    void actDeletePanel();

    // --- what the command line asks of the running program
    TrashSnapshot snapshot() const;
    // The answer to one request line ("status", "table", "totals", "check", "empty", "stop",
    // "reopen", which also opens the information panel); empty for a request it does not
    // know. Main thread.
    std::string answerRequest(const std::string& request);

    // Shortest and longest period of the monitor timer; intervals outside are clamped.
    static constexpr double kShortestInterval = 1.0;
    static constexpr double kLongestInterval = 24.0 * 60 * 60;

private:
    enum class Level { Empty, Used, Half, Full };
    Level trashLevel() const;
    Level levelOf(double trashSize, double freeSize, double minimum) const;
    void stopTimers();
    double timerInterval();
    void checkDrives();
    void showIcon(const std::string& picture, const std::string& toolTip); // with iconMutex_ held
    void onMainThread(std::function<void()> update);
    void saveFrame(const char* name, const FramedPanel* panel);

    const Platform& platform_;
    // The items a "totals" request counted: an "empty" request that follows takes only these.
    std::optional<std::set<std::pair<dev_t, ino_t>>> countedItems_;
    Internal* outInternal_ = nullptr;
    Preferences* outPrefs_ = nullptr;
    Shredder* outShredder_ = nullptr;
    External* outExternal_ = nullptr;
    Volume* outVolume_ = nullptr;
    Utility* outUtility_ = nullptr;
    Security* outSecurity_ = nullptr;
    HistoryPanel* outHistory_ = nullptr;
    // The two panels, used here only to save their frames at quit.
    const FramedPanel* prefPanel_ = nullptr;
    const FramedPanel* trashPanel_ = nullptr;

    MainLoop::TimerId monitorTimer_ = MainLoop::kNoTimer;
    // The one-second wait between a notification and its drive check.
    MainLoop::TimerId changeTimer_ = MainLoop::kNoTimer;
    MainLoop::TimerId spaceTimer_ = MainLoop::kNoTimer;
    // What the last look at free space found: the trashes below their minimum ("" the home
    // trash, else the volume's path), the home level.
    std::set<std::string> shortTrashes_;
    // What the look asks statvfs about, read again only when the mount table changes: the
    // folder that stands for the home volume, and the watched volumes.
    std::string polledHome_;
    std::vector<std::string> polledVolumes_;
    std::optional<Level> polledLevel_;
    std::atomic<StatusItem*> statusItem_{nullptr};
    std::atomic<int> pendingUpdates_{0}; // icon updates handed to the main thread, not yet applied
    // Held from reading the trash's state to queuing its icon: the flashing thread and a
    // deletion's end both show the state, and the one read last must be the one left shown.
    std::mutex iconMutex_;
    bool intervalReported_ = false; // an out-of-range interval is logged once, not at every tick
};

} // namespace bw
