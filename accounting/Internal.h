#pragma once
#include "accounting/TrashBooks.h"
#include "platform/Clock.h"
#include "platform/SpaceSource.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace bw {

class Manager;
class Preferences;
class Security;
class Shredder;
class Utility;
struct Platform;

// The home trash: "~/.Trash" and the freedesktop trash of the data folder, kept in one set
// of books, with its size counter and the figures of the volume that holds it.
class Internal {
public:
    explicit Internal(const Platform& platform);
    void wire(Manager& manager, Preferences& prefs, Utility& utility);
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
    std::string volumeMountPoint() const;
    double totalSize() const;
    double freeSize() const;
    double usedSize() const;
    double miniSize() const;
    double miniSizeWithRatio(float ratio) const;
    // Capacity and free space in one reading, and the minimum for a capacity so read.
    SpaceFigures spaceFigures() const;
    double miniSizeOf(double capacity) const;
    double fullTrashSize() const;
    double fullTrashSizeWithRatio(float ratio) const;

    // --- size counter, status, measuring flag, forced-mode mark
    double trashSize() const { return trashSize_.load(); }
    void setTrashSize(double bytes) { trashSize_.store(bytes); }
    std::atomic<double>* trashSizePointer() { return &trashSize_; }
    int trashStatus() const { return books_.status(); }
    void setTrashStatus(int status) { books_.setStatus(status); }
    bool trashSizeing() const { return books_.isMeasuring(); }
    bool shredMode() const { return books_.shredMode(); }
    void setShredMode(bool on) { books_.setShredMode(on); }

    // --- root items and change checks
    std::vector<std::string> rootArray() const;
    int trashFileCount() const;
    bool checkTrashCountChange();
    bool checkFreeSizeChange();

    // --- trash item chooser: the root items of the home trash, of which only those offered
    // may come back
    std::optional<std::vector<std::string>> selectTrashFile();

    // The classic home trash folder, "~/.Trash".
    const std::string& trashPath() const { return trashPath_; }
    // A copy of the trash files table, for tests and the information panel.
    TrashFiles trashFiles() const;
    // The folders the home trash is made of now, and its books.
    std::vector<ItemFolder> itemFolders() const { return books_.itemFolders(); }
    // The folders of the home trash to watch.
    TrashWatch watchedFolders() const;
    TrashBooks& books() { return books_; }
    const TrashOwner& owner() const { return owner_; }

    // A folder on the home trash's volume, for its statvfs.
    std::string volumeAnchor() const;

private:
    void logTimes(const char* line, TimePoint started) const;

    const Platform& platform_;
    Manager* outManager_ = nullptr;
    Preferences* outPrefs_ = nullptr;
    Utility* outUtility_ = nullptr;

    TrashOwner owner_;
    std::string trashPath_;
    std::atomic<double> trashSize_{0.0};
    TrashBooks books_;
};

} // namespace bw
