#pragma once
#include "platform/Clock.h"
#include "platform/TrashLayout.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace bw {

class Utility;
struct Platform;

// Trash status codes.
enum TrashStatus : int {
    kStandingBy = 0,
    kDeleting = 2,
    kMeasuring = 3,
    kCanceling = 4,
};

// Root item to measured size in bytes.
using TrashFiles = std::unordered_map<std::string, double>;

// The free space a volume keeps: the ratio, widened from float rather than rounded to a
// decimal (0.1f gives 0.10000000149...), times the capacity, truncated to whole bytes.
double minimumFreeSize(float ratio, double capacity);

// A root item where it lies: its item folder, and its entry name there.
struct LocatedItem {
    ItemFolder folder;
    std::string name;
    int folderFd = -1; // the folder, when the caller holds it open without links; -1: reached by its path
};

// The books of one trash, the home trash or a volume's, whatever its layouts: the item
// folders it is made of, the measured size of every root item, whether it is being
// measured, its status, its forced-mode mark and the baselines of its change checks.
// The size counter is not kept here: it is lent by the owner of the books, at an address
// that outlives them.
class TrashBooks {
public:
    using FolderSource = std::function<std::vector<ItemFolder>()>;
    using MeasuringHook = std::function<void(bool measuring)>;

    // `title` opens the log line of a refused folder ("Home trash", "Volume trash").
    TrashBooks(const Platform& platform, std::string title, FolderSource folders, MeasuringHook onMeasuring = {});

    // The folders that may be measured and emptied now; a refused one is told once per
    // change of its refusal, and at most once an hour whatever changes it.
    std::vector<ItemFolder> itemFolders() const;
    // Every root item, read afresh, folder after folder in listing order.
    std::vector<std::string> rootItems() const;
    int rootItemCount() const;
    // The root items of `folders`, as itemFolders gave them, counted afresh.
    static int rootItemCountOf(const std::vector<ItemFolder>& folders);

    // The full and the incremental measurement. Each waits until no other measurement of
    // this trash runs, and leaves `counter` (when given) equal to the table's sum.
    void measureAll(const Utility& utility, std::atomic<double>* counter);
    void measureChanges(const Utility& utility, std::atomic<double>* counter);

    // The table; none before the first measurement or after forgetItems.
    std::optional<TrashFiles> items() const;
    void forgetItems();

    int status() const { return status_.load(); }
    void setStatus(int status) { status_.store(status); }
    bool isMeasuring() const { return measuring_.load(); }
    void setMeasuring(bool on) { measuring_.store(on); }
    bool shredMode() const { return shredMode_.load(); }
    void setShredMode(bool on) { shredMode_.store(on); }

    // The change checks: a baseline moves only when its check reports a change.
    bool checkCountChange();
    bool checkFreeSizeChange(double freeSize);
    int lastCount() const { return lastCount_.load(); }
    void setLastCount(int count) { lastCount_.store(count); }
    double lastFreeSize() const { return lastFreeSize_.load(); }
    void setLastFreeSize(double bytes) { lastFreeSize_.store(bytes); }

private:
    void takeMeasuringFlag();
    void releaseMeasuringFlag();
    // Calls `visit` with each item folder's open descriptor and its entries' names.
    using FolderVisit = std::function<void(const ItemFolder&, int fd, std::vector<std::string>&)>;
    void forEachFolder(const FolderVisit& visit) const { forEachFolderOf(itemFolders(), visit); }
    static void forEachFolderOf(const std::vector<ItemFolder>& folders, const FolderVisit& visit);
    double storeItems(const std::function<void(TrashFiles&)>& change, std::atomic<double>* counter);

    const Platform& platform_;
    std::string title_;
    FolderSource folders_;
    MeasuringHook onMeasuring_;

    std::atomic<int> status_{kStandingBy};
    std::atomic<bool> measuring_{false};
    std::atomic<bool> shredMode_{false};
    std::atomic<int> lastCount_{0};
    std::atomic<double> lastFreeSize_{0.0};

    mutable std::mutex mutex_; // guards the two maps below
    std::optional<TrashFiles> items_;
    // A folder's refusal as last seen, and when one was last told.
    struct Refusal {
        std::string seen;
        std::optional<TimePoint> told;
    };
    mutable std::map<std::string, Refusal> refusals_; // by folder path
};

} // namespace bw
