#pragma once
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace bw {

class Controllers;
class Manager;
class OpenPanel;
class Preferences;
class Security;
class Shredder;
class Utility;
struct Platform;

// Trash status codes.
enum TrashStatus : int {
    kStandingBy = 0,
    kDeleting = 2,
    kMeasuring = 3,
    kCanceling = 4,
};

// Root item name to measured size in bytes.
using TrashFiles = std::unordered_map<std::string, double>;

// The books of the home trash: its items' sizes, its size counter, whether it is being
// measured, its status, and the figures of the volume that holds it.
class Internal {
public:
    explicit Internal(const Platform& platform);
    void wire(Controllers& controllers);
    void awakeFromNib();

    // --- measurements
    void initTrashFiles();
    void initTrashData();
    void initTrashDataThread();
    void initTrashSizeThread();
    void initTrashSize();
    void renewTrashSizeThread();
    void renewTrashSize();

    // --- figures of the startup volume (the file system that holds the home trash)
    std::string volumeName() const;
    double totalSize() const;
    double freeSize() const;
    double usedSize() const;
    double miniSize() const;
    double miniSizeWithRatio(float ratio) const;
    double fullTrashSize() const;
    double fullTrashSizeWithRatio(float ratio) const;

    // --- size counter, status, measuring flag, forced-mode mark
    double trashSize() const { return trashSize_.load(); }
    void setTrashSize(double bytes) { trashSize_.store(bytes); }
    std::atomic<double>* trashSizePointer() { return &trashSize_; }
    int trashStatus() const { return trashStatus_.load(); }
    void setTrashStatus(int status) { trashStatus_.store(status); }
    bool trashSizeing() const { return trashSizeing_.load(); }
    bool shredMode() const { return shredMode_.load(); }
    void setShredMode(bool on) { shredMode_.store(on); }

    // --- root items and change checks
    std::vector<std::string> rootArray() const;
    int trashFileCount() const;
    bool checkTrashCountChange();
    bool checkFreeSizeChange();

    // --- trash item chooser
    std::optional<std::vector<std::string>> selectTrashFile();
    void panel(OpenPanel& panel);

    // The home trash folder, "~/.Trash".
    const std::string& trashPath() const { return trashPath_; }
    // A copy of the trash files table, for tests and the information panel.
    TrashFiles trashFiles() const;

private:
    bool isUsableTrash() const;
    double sumOfTrashFiles() const;
    void takeMeasuringFlag();
    void releaseMeasuringFlag();

    const Platform& platform_;
    Shredder* outShredder_ = nullptr;
    Manager* outManager_ = nullptr;
    Preferences* outPrefs_ = nullptr;
    Utility* outUtility_ = nullptr;
    Security* outSecurity_ = nullptr;

    std::string trashPath_;
    std::atomic<double> trashSize_{0.0};
    std::atomic<bool> trashSizeing_{false};
    std::atomic<int> trashStatus_{kStandingBy};
    std::atomic<double> lastFreeSize_{0.0};
    std::atomic<int> lastTrashFileCount_{0};
    mutable std::mutex trashFilesMutex_;
    TrashFiles trashFiles_;
    std::atomic<bool> shredMode_{false};
    mutable std::atomic<int> lastRefusal_{0}; // why the trash was last refused, to log it once
};

} // namespace bw
