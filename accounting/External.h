#pragma once
#include "accounting/Internal.h"
#include "platform/Clock.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace bw {

class Controllers;
class Preferences;
class Security;
class Utility;
struct Platform;

// The books of every watched volume's trash (".Trashes" with its per-user folders), and
// the discovery of the watched volumes.
class External {
public:
    explicit External(const Platform& platform);
    void wire(Controllers& controllers);
    void awakeFromNib();

    // --- volume discovery
    std::vector<std::string> volumePaths() const;
    int drives() const;
    bool isExist() const;
    std::vector<std::string> volumeNames() const;
    int driveNumberAtPath(const std::string& volumePath) const;
    bool isContainPath(const std::string& volumePath) const;
    std::string volumePathWithDrive(int drive) const;
    std::vector<std::string> trashPaths() const;
    std::string trashPathWithDrive(int drive) const;
    std::vector<std::string> directoryContentsAtPath(const std::string& folder) const;
    int8_t checkDriveChanged();
    std::optional<std::string> installedVolumePath() const;
    std::optional<std::string> removedVolumePath() const;

    // --- tables and measurements
    void initTrashFiles();
    void initTrashFilesAtPath(const std::string& volumePath);
    void removeTrashSizeAtPath(const std::optional<std::string>& volumePath);
    void initTrashDataThreadAtPath(const std::string& volumePath);
    void installTrashSizeThreadAtPath(const std::optional<std::string>& volumePath);
    void initTrashDataAtPath(const std::string& volumePath);
    void initTrashSizeThreadAtPath(const std::string& volumePath);
    void initTrashSizeAtPath(const std::string& volumePath);
    void renewTrashSizeThreadAtPath(const std::string& volumePath);
    void renewTrashSizeAtPath(const std::string& volumePath);
    std::vector<std::string> rootArrayWithPath(const std::string& volumePath) const;
    int trashFileCountWithPath(const std::string& volumePath) const;

    // --- figures
    double totalSizeWithPath(const std::string& volumePath) const;
    double freeSizeWithPath(const std::string& volumePath) const;
    double usedSizeWithPath(const std::string& volumePath) const;
    double miniSizeWithPath(const std::string& volumePath) const;
    double trashSizeWithPath(const std::string& volumePath) const;
    void setTrashSize(double bytes, const std::string& volumePath);
    std::atomic<double>* trashSizePtrAtPath(const std::string& volumePath);
    double allTrashSize() const;

    // --- status, measuring flags, baselines, forced-mode marks
    int trashStatusWithDrive(int drive) const;
    void setTrashStatus(int status, const std::string& volumePath);
    void renewTrashStatusAll();
    bool trashSizeingAtPath(const std::string& volumePath) const;
    bool trashSizeingWithDrive(int drive) const;
    bool trashSizeing() const;
    void setTrashSizeing(bool on, const std::string& volumePath);
    void renewTrashSizeing();
    bool checkTrashCountChangeAtPath(const std::string& volumePath);
    bool checkFreeSizeChangeAtPath(const std::string& volumePath);
    bool checkAllTrashCountChange();
    bool checkAllFreeSizeChange();
    int lastTrashCountAtPath(const std::string& volumePath) const;
    void setLastTrashCount(int count, const std::string& volumePath);
    double lastFreeSizeAtPath(const std::string& volumePath) const;
    void setLastFreeSize(double bytes, const std::string& volumePath);
    bool shredModeAtPath(const std::string& volumePath) const;
    void setShredMode(bool on, const std::string& volumePath);
    void setAllShredMode(bool on);

    // --- for the notification feed, the information panel and tests
    // Every volume's ".Trashes" and its readable per-user folders, links left out.
    std::vector<std::string> watchedTrashFolders() const;
    // A copy of one volume's trash files table; none before its first measurement.
    std::optional<TrashFiles> trashFilesAtPath(const std::string& volumePath) const;

    // Volumes beyond this many in the list have no size counter.
    static constexpr int kCountedVolumes = 32;

private:
    // Everything kept per volume path except the trash files table and the counter.
    struct Books {
        int status = kStandingBy;
        bool measuring = false;
        double lastFreeSize = 0.0;
        int lastTrashFileCount = 0;
        bool shredMode = false;
    };
    using RootItemVisitor = std::function<void(int userFolderFd, const std::string& rootItem, const char* name)>;

    Books booksAt(const std::string& volumePath) const;
    void updateBooks(const std::string& volumePath, const std::function<void(Books&)>& change);
    void takeMeasuringFlag(const std::string& volumePath);
    void releaseMeasuringFlag(const std::string& volumePath);
    void forEachRootItem(const std::string& volumePath, const RootItemVisitor& visit) const;
    TrashFiles measureRootItems(const std::string& volumePath, const std::vector<std::string>* only) const;
    double storeTrashFiles(const std::string& volumePath, const std::function<void(TrashFiles&)>& change);
    std::atomic<double>* counterAt(const std::string& volumePath);
    const std::atomic<double>* counterAt(const std::string& volumePath) const;
    int slotFor(const std::string& volumePath, const std::vector<std::string>& listed);
    void logMeasurement(const char* what, const std::string& volumePath, TimePoint started) const;

    const Platform& platform_;
    Preferences* outPrefs_ = nullptr;
    Utility* outUtility_ = nullptr;
    Security* outSecurity_ = nullptr;
    std::atomic<int> lastDrives_{0};

    // The counters sit at stable addresses for the life of the program; each is lent to
    // one volume path at a time, so a counter never passes to the volume that moves into
    // an unmounted volume's position.
    std::array<std::atomic<double>, kCountedVolumes> trashSize_{};
    mutable std::mutex mutex_; // guards everything below
    std::array<std::string, kCountedVolumes> slotOwner_;
    std::map<std::string, Books> books_;
    std::map<std::string, TrashFiles> trashFilesDictionary_;
};

} // namespace bw
