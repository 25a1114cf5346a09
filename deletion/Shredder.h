#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "deletion/DeletionEvent.h"
#include "deletion/DeletionRules.h"
#include "deletion/PassMessage.h"
#include "deletion/RootItemQueue.h"
#include "platform/TrashLayout.h"
#include "platform/Clock.h"
#include "platform/SpaceSource.h"
#include "platform/posix/ShredJournal.h"

struct stat;

namespace bw {

class DefaultsStore;
class External;
class Internal;
class Manager;
class Preferences;
class ResFileManager;
class Security;
class TrashBooks;
class Volume;
struct LocatedItem;
struct TrashSnapshot;
struct Platform;

// Shred result codes.
enum ShredResult : int {
    kShredDone = 0,        // removed or moved into the dump folder, or a stop was requested
    kShredNothingLeft = 1, // the trash had no root item left
    kShredMoveFailed = 2,
    kShredRemoveFailed = 3,
    kShredRenameFailed = 4,
    kShredWriteFailed = 5,    // known only to the alert
    kShredResWriteFailed = 6, // known only to the alert
    kShredNothingDue = 7,     // no rule wants the trash's oldest item gone
    kShredPassedOver = 8,     // the trash's volume does not answer: nothing was tried
};

// Why an item could not be deleted, as a deletion event tells it.
std::string failureText(int code);

// The trash an automatic step works on, as its deletion events name it, and what decides,
// just before its oldest item goes, whether it goes and why (none: it stays).
struct TrashStep {
    std::string trash;
    std::string volumePath; // empty: the home trash
    std::function<std::optional<DeletionReason>(const std::optional<TimePoint>& trashedOn)> reasonFor;
};

// One chosen item and the size counter of the trash that holds it (null: none).
struct DeletionItem {
    std::string path;
    std::atomic<double>* counter = nullptr;
    // The item the user agreed to, by device and inode; 0: whatever is at `path`.
    dev_t device = 0;
    ino_t inode = 0;
};
using DeletionList = std::vector<DeletionItem>;

// Root items by device and inode: what a confirmation agreed to delete.
using ItemIds = std::set<std::pair<dev_t, ino_t>>;

// The root items of some trashes as they are on disk now.
struct RootItemCount {
    ItemIds ids;
    int items = 0;
    double bytes = 0.0;
};

// Deletion: the automatic delete pass, the file shredder, the deletion of chosen items,
// the icon flashing, and the shredder's settings.
class Shredder {
public:
    explicit Shredder(const Platform& platform);
    void wire(Internal& internal, Preferences& prefs, Manager& manager, ResFileManager& resFile, External& external, Security& security, Volume& volume);

    // Registers the overwrite and no-rename defaults; runs before any controller wakes.
    static void initialize(DefaultsStore& defaults);
    void awakeFromNib();
    // A part that tells of deletions (the history, say) hears of each one; wired before any
    // controller wakes, never removed.
    void addDeletionListener(DeletionListener& listener) { deletionListeners_.push_back(&listener); }

    // --- settings side
    bool shredderSwitch() const { return shredderSwitch_.load(); }
    void setShredderSwitch(bool on) { shredderSwitch_.store(on); }
    bool noRenameSwitch() const { return noRenameSwitch_.load(); }
    void setNoRenameSwitch(bool on) { noRenameSwitch_.store(on); }
    std::optional<TimePoint> lastAutoExecDate() const;
    void setLastAutoExecDate(TimePoint date);

    // --- automatic delete pass
    void autoShred();
    void autoShredThread();
    int autoShredSubInternal(const TrashStep& step);
    int autoShredSubExternal(const TrashStep& step, int driveNumber);
    // The oldest of the classic items `rootItems` of the folder `trashPath`, deleted as the
    // free-space minimum would.
    int shredOlderWithPath(const std::string& trashPath, const std::vector<std::string>& rootItems,
                           std::atomic<double>* fileSize);
    // The oldest of a trash's root items, whichever of its folders it lies in, taken from
    // `queue`, which is listed again only when another than the pass changed the trash.
    // An item whose deletion failed before is passed over until it changes. It goes only
    // when the step's rules want it gone (kShredNothingDue otherwise).
    int shredOldestOf(const TrashBooks& trash, RootItemQueue& queue, std::atomic<double>* fileSize,
                      const TrashStep& step);
    bool checkSizeAndResize();
    uint8_t shredMode() const { return shredMode_.load(); }
    // An automatic pass or a deletion of chosen items holds the guard.
    bool isPassRunning() const { return passGuard_.load(); }
    // The totals of the running pass, or of the last one once it ended.
    PassTotals passTotals() const;
    // A forced emptying tells its deletions as asked for by `reason` (the menu's, the
    // command line's).
    void setShredMode(uint8_t mode, DeletionReason reason = DeletionReason::ForcedEmptying);
    // --- preview: what would go, deleting nothing
    // Every trash's next item and what each of its rules would take now.
    void addPreview(TrashSnapshot& snapshot);
    // What a pass would delete now (`emptying`: a forced emptying of every trash), one line
    // per item in the order it would go: reason, bytes, date trashed, original location.
    std::string dryRunText(bool emptying);
    // The item of a trash (`volumePath` empty: the home trash's) that goes next, and the rule
    // that wants it gone now, if any; none when the trash is empty.
    struct NextToGo {
        PlannedItem item;
        std::optional<DeletionReason> dueNow;
    };
    std::optional<NextToGo> nextToGoAt(const std::string& volumePath);
    // The rules in force for the trash of the volume mounted at `mountPoint`.
    RuleSet rulesAt(const std::string& mountPoint) const;

    // --- file shredder
    // `removed`, when given, tells whether the item itself was removed here (not merely gone).
    // A root item is withdrawn before it is destroyed: its description goes aside, the shred
    // is recorded, it gets its time-stamp name, and only then is it overwritten and removed.
    int shredFolderOrFile(const std::string& path, std::atomic<double>* fileSize, bool* removed = nullptr);
    // Finishes the shreds an interruption left (by the record, matched by device and inode),
    // before a deletion starts anything else. Run by the deletion that holds the guard.
    void finishLeftovers();
    void finishLeftover(const posix::ShredRecord& record);
    // After a root item was deleted outside a pass (a leftover finished): what its trash keeps
    // beside it goes too.
    void removeCompanionsOf(const std::string& path);
    // Whether an overwrite reaches the data of a file on the file system open at `fd`: not on
    // a copy-on-write or log-structured one, where it would only take free space.
    static bool overwriteReaches(int fd);
    int shredFile(const std::string& path, std::atomic<double>* fileSize);
    void initFillData();
    // `error`: the errno of the failing step, shown as the cause; 0 when there is none.
    void alertWithError(int code, const std::string& path, int error = 0);
    const std::array<unsigned char, 256>& fillData() const { return fillData_; }

    // --- chosen items and flashing
    // Deletes the items on a worker; while another deletion runs they wait for its end.
    void partialShred(DeletionList items);
    // Asks the user before a command shreds `items` root items of `bytes` in all, unless the
    // user asked not to be asked again. True: go ahead. Main thread.
    bool confirmShredding(int items, double bytes);
    // Asks about the forced emptying of the home trash (when `home`) and of the trashes of
    // `volumes`, counted afresh from the disk; on a yes the emptying takes exactly the items
    // counted, never one trashed while the question waited. True: go ahead. Main thread.
    bool confirmForcedEmptying(bool home, const std::vector<std::string>& volumes);
    // The same for chosen items: counted and measured now, and pinned by device and inode,
    // so that an item that took a chosen name meanwhile is not deleted.
    bool confirmChosenItems(DeletionList& items);
    RootItemCount countRootItems(bool home, const std::vector<std::string>& volumes) const;
    // The forced emptying takes only these items; none: every item.
    void setAgreedItems(std::optional<ItemIds> ids);
    // Whether the running pass may take the item `seen`: always, but in a forced emptying
    // that was agreed to item by item.
    bool isAgreedItem(const struct stat& seen) const;
    // Chosen items wait for a running deletion to end: no new pass is to start before them.
    bool hasChosenItemsWaiting() const { return chosenWaiting_.load() > 0; }
    void partialShredThread(const DeletionList& items);
    void startIconFlashing();
    void stopIconFlashing();
    void iconFlashThread();

    // --- flags
    bool isShredding() const { return shredding_.load(); }
    bool isPartialShredding() const { return pertialShredding_.load(); }
    bool shredBreak() const { return shredBreak_.load(); }
    void setShredBreak(bool on) { shredBreak_.store(on); }
    bool iconFlashing() const { return iconFlashing_.load(); }

private:
    const Platform& platform_;
    Internal* outInternal_ = nullptr;
    Preferences* outPrefs_ = nullptr;
    Manager* outManager_ = nullptr;
    ResFileManager* outResFile_ = nullptr;
    External* outExternal_ = nullptr;
    Security* outSecurity_ = nullptr;
    Volume* outVolume_ = nullptr;
    std::vector<DeletionListener*> deletionListeners_;

    std::array<unsigned char, 256> fillChar_{};
    std::array<unsigned char, 256> fillData_{};
    std::atomic<uint8_t> shredMode_{0};
    std::atomic<bool> shredding_{false};
    std::atomic<bool> shredBreak_{false};
    std::atomic<bool> iconFlashing_{false};
    std::atomic<bool> shredderSwitch_{true};
    std::atomic<bool> noRenameSwitch_{false};
    std::atomic<bool> pertialShredding_{false};
    // A flashing thread is in its loop; a start while it runs lets it carry on.
    std::atomic<bool> flashThreadAlive_{false};
    // Taken by autoShred and partialShred, released when their worker ends: two deletions
    // never run at once.
    std::atomic<bool> passGuard_{false};
    mutable std::mutex agreedMutex_;
    std::optional<ItemIds> agreedItems_;
    // Lists of chosen items waiting for the guard.
    std::atomic<int> chosenWaiting_{0};
    // The running pass's totals; reset when a pass starts.
    std::atomic<int> passDeleted_{0};
    std::atomic<double> passBytes_{0.0};
    std::atomic<int> passFailed_{0};
    std::atomic<DeletionReason> forcedReason_{DeletionReason::ForcedEmptying};
    mutable std::mutex passMutex_;
    std::vector<std::string> passTrashes_;       // the trashes the pass deleted from, in order
    std::vector<std::string> passFailedItems_;   // what it could not delete, in order

    mutable std::mutex dateMutex_;
    std::optional<TimePoint> lastAutoExecDate_;
    // The running pass's deletion dates, kept at each deletion and written now and then.
    static constexpr Seconds kPassDateInterval{60.0};
    void keepLastAutoExecDate(TimePoint date); // in memory and in the store, not yet in the file
    void noteAutoDeletion(TimePoint date);
    void writePassDate();
    std::optional<TimePoint> passDateWritten_; // only the pass's thread touches these two
    bool passDateUnwritten_ = false;

    // --- automatic delete pass
    // How a cycle came out, and the trash its last step worked on (the one to rebuild
    // after a stop): the home trash, a volume's trash, or none.
    struct CycleOutcome {
        bool endsPass = false;
        bool onHome = false;
        std::optional<std::string> onVolume;
    };
    CycleOutcome autoShredCycle(bool forced);
    // The queues of the running pass, by trash: "" the home trash, else the volume's path.
    // Only the pass's own thread touches the map; a volume's queue is used by that volume's
    // step, which may outlive the pass when the volume stops answering.
    std::map<std::string, std::shared_ptr<RootItemQueue>> passQueues_;

    // Items whose deletion failed, passed over by later steps until anything in them changes
    // (the item's own status-change time, or anything inside it) or kFailedRetry has passed.
    // One that failed for want of resources is passed over for the rest of its pass only.
    struct FailedItem {
        dev_t device = 0;
        ino_t inode = 0;
        // Read after the failure; none when the item was no longer under its name then, in
        // which case the first later sight of it sets it.
        std::optional<struct timespec> changed;
        std::optional<uint64_t> inside; // stamp of everything inside, as the failure left it
        TimePoint failedAt;
        TimePoint toldAt; // the last log line of its failure
        std::optional<uint64_t> onlyPass; // the pass it is passed over in, when only that one
        std::string path;
    };
    static constexpr Seconds kFailedRetry{10.0 * 60};
    // A failure tried again and failing again is told at most this often.
    static constexpr Seconds kFailedRetold{60.0 * 60};
    // Whether `item` failed before and is still to be passed over; `again` is set when it
    // failed before and is to be tried again now.
    bool isFailedBefore(const struct stat& seen, const LocatedItem& item, const std::string& path, bool* again);
    // `left`: the item as the attempt left it under its name; null when it is not there.
    // `forThisPass`: it failed for want of resources and is tried again at the next pass.
    void rememberFailure(const struct stat& seen, const struct stat* left, const LocatedItem& item,
                         const std::string& path, bool forThisPass);
    std::atomic<uint64_t> passNumber_{0};
    // The last step passed over such an item: a trash left with nothing else is not emptied.
    std::atomic<bool> failedItemsLeft_{false};
    mutable std::mutex failedMutex_;
    std::vector<FailedItem> failedItems_;

    // `seen`: the item's lstat, just taken by the caller; `left`, when given, receives what is
    // still at the item's path afterwards.
    // `event` names the item and why it goes; the rest is filled in here and it is told.
    int shredItemAt(const LocatedItem& item, std::atomic<double>* fileSize, DeletionEvent event,
                    const struct stat* seen = nullptr, std::optional<struct stat>* left = nullptr);
    // The trash a chosen item lies in: its item folder, the trash's name and volume.
    struct TrashPlace {
        ItemFolder folder;
        std::string trash;
        std::string volumePath;
    };
    std::optional<TrashPlace> trashPlaceOf(const std::string& path, std::atomic<double>* counter);
    void shredChosen(const DeletionItem& item);
    // One trash as the preview sees it: its items oldest first, its figures and its rules.
    struct TrashPlan {
        std::vector<PlannedItem> items;
        TrashFigures figures;
        RuleSet rules;
    };
    TrashPlan planOf(const TrashBooks& books, const std::string& mountPoint, const SpaceFigures& space, double counter);
    std::vector<TrashPlan> allPlans();
    void resetPassTotals();
    // Tells every listener of a deletion; one of a pass also counts in its totals.
    void tellDeletion(const DeletionEvent& event, bool ofPass);
    // The step of a free-space pass for a trash, when one of its rules may want an item gone.
    std::optional<TrashStep> ruleStep(std::string trash, std::string volumePath, const std::string& mountPoint,
                                      std::function<SpaceFigures()> space, std::function<double()> counter);
    // One log line with the pass's totals, and a notification when the user wants them.
    void reportPass(bool forced, bool stopped);
    void removeOrphansOfMarkedTrashes();
    void endAutoShred(const CycleOutcome& last);

    // --- file shredder, on directory descriptors
    // The item `path` in the folder open as `dirFd` (-1: every step fails as on a missing entry).
    int shredItemIn(int dirFd, const std::string& path, std::atomic<double>* fileSize, const struct stat* seen,
                    bool* removed);
    // The root item `name` (shown as `path`), withdrawn already, destroyed under that name.
    int destroyItemAt(int dirFd, const std::string& name, const std::string& path, std::atomic<double>* fileSize,
                      const struct stat* seen, bool* removed, bool renamed, bool* untouched = nullptr);
    // `seen`: the entry's lstat when the caller has just taken it, else it is taken here.
    // `renamed`: it has its time-stamp name already.
    int shredEntryAt(int dirFd, const char* name, const std::string& path, std::atomic<double>* fileSize,
                     const struct stat* seen = nullptr, bool* removed = nullptr, bool renamed = false);
    // False when the overwrite was interrupted before it finished.
    bool overwriteEntryAt(int dirFd, const char* name, const struct stat& seen, const std::string& path);
    int renameToStampAt(int dirFd, const char* name, std::string& newName);
    int moveIntoDumpFolder(int dirFd, const std::string& name);
    int failWith(int code, const std::string& path, int error = 0);
    // The item folder of the trash that holds the root item `path`; none outside every trash.
    // The last answer is kept until the next deletion starts (finishLeftovers).
    std::optional<ItemFolder> itemFolderHolding(const std::string& path);
    std::mutex folderMutex_;
    std::optional<std::pair<std::string, std::optional<ItemFolder>>> lastFolder_;
    // Whether the overwrite is to be skipped on the file system of `fd`; says why once per volume.
    bool skipsOverwriteOn(int fd, dev_t device);
    posix::ShredJournal journal_;
    std::mutex skippedMutex_;
    std::set<dev_t> overwriteSkipped_; // volumes whose skipped overwrite was logged
    std::string nextStampName();
    // The last time-stamp name given, in seconds: names never repeat within the process.
    std::atomic<double> lastStamp_{0.0};
};

} // namespace bw
