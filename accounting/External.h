#pragma once
#include "accounting/TrashBooks.h"
#include "platform/Clock.h"
#include "platform/SpaceSource.h"
#include "platform/VolumeRunner.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace bw {

class Preferences;
class Security;
class Utility;
struct Platform;

// The trash of every watched volume, each kept in its own books whatever its layouts
// (".Trashes" with its per-user folders, ".Trash-$uid", ".Trash/$uid"), and the discovery
// of the watched volumes.
class External {
public:
    explicit External(const Platform& platform);
    void wire(Preferences& prefs, Utility& utility, Security& security);
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
    // Capacity and free space in one reading, and the volume's minimum for a capacity so read.
    SpaceFigures spaceFiguresWithPath(const std::string& volumePath) const;
    double miniSizeOf(double capacity, const std::string& volumePath) const;
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

    // --- for the policy, the notification feed, the information panel and tests
    // The books of one volume's trash, made on first use.
    std::shared_ptr<TrashBooks> booksAtPath(const std::string& volumePath) const;
    std::vector<ItemFolder> itemFoldersAtPath(const std::string& volumePath) const;
    // The folders of every volume trash to watch, a bounded number per volume.
    TrashWatch watchedFolders() const;
    // A copy of one volume's trash files table; none before its first measurement.
    std::optional<TrashFiles> trashFilesAtPath(const std::string& volumePath) const;

    // --- the file-system work on each volume, on a thread of its own
    // Runs `step` on the volume's thread and waits for it while the volume answers and the
    // program is not quitting. Whatever `step` touches must outlive it (see VolumeRunner).
    VolumeRunner::Outcome runAtPath(const std::string& volumePath, std::function<void()> step);
    void postAtPath(const std::string& volumePath, std::function<void()> job);
    // False while a step on the volume has hung (a frozen file system, a disk that stopped
    // answering): the volume is passed over until that step ends.
    bool isAnsweringAtPath(const std::string& volumePath) const;
    // Marks a volume found not answering; the first time, a log line says so.
    void noteNotAnsweringAtPath(const std::string& volumePath);
    // True once for a volume marked not answering that answers again; a log line says so.
    bool takeAnsweringAgainAtPath(const std::string& volumePath);

    // Volumes beyond this many in the list have no size counter.
    static constexpr int kCountedVolumes = 32;
    // Content folders watched per volume trash at most; the monitor timer covers the rest.
    static constexpr size_t kWatchedPerVolume = 256;

private:
    std::atomic<double>* counterAt(const std::string& volumePath);
    const std::atomic<double>* counterAt(const std::string& volumePath) const;
    int slotFor(const std::string& volumePath, const std::vector<std::string>& listed);
    void logMeasurement(const char* what, const std::string& volumePath, TimePoint started) const;

    const Platform& platform_;
    Preferences* outPrefs_ = nullptr;
    Utility* outUtility_ = nullptr;
    Security* outSecurity_ = nullptr;
    TrashOwner owner_;
    std::atomic<int> lastDrives_{0};
    mutable std::atomic<bool> toldWatchBound_{false};

    // The counters sit at stable addresses for the life of the program; each is lent to
    // one volume path at a time, so a counter never passes to the volume that moves into
    // an unmounted volume's position.
    std::array<std::atomic<double>, kCountedVolumes> trashSize_{};
    mutable std::mutex mutex_; // guards everything below
    std::array<std::string, kCountedVolumes> slotOwner_;
    // Shared, so that a measurement or a pass keeps the books of a volume that goes meanwhile.
    mutable std::map<std::string, std::shared_ptr<TrashBooks>> books_;
    // Made on first use and kept: a volume mounted again under the same path gets its
    // thread back, and a thread stuck on a vanished volume is never waited for.
    mutable std::map<std::string, std::shared_ptr<VolumeRunner>> runners_;
    std::set<std::string> silentVolumes_; // marked not answering, not yet seen answering again
    std::shared_ptr<VolumeRunner> runnerAt(const std::string& volumePath) const;
};

} // namespace bw
