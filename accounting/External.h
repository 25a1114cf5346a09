#pragma once
#include <atomic>
#include <cstdint>
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

private:
    const Platform& platform_;
    Preferences* outPrefs_ = nullptr;
    Utility* outUtility_ = nullptr;
    Security* outSecurity_ = nullptr;
    std::atomic<int> lastDrives_{0};
};

} // namespace bw
