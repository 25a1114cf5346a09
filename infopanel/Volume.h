#pragma once
#include <atomic>
#include <optional>
#include <string>

namespace bw {

class Controllers;
class External;
class Internal;
class Manager;
class Shredder;
class Utility;
struct Platform;
struct DeletionItem;

// The trash information panel, the file being deleted, and the resolution of a trash
// item's name to its path and its trash's size counter.
class Volume {
public:
    explicit Volume(const Platform& platform);
    void wire(Controllers& controllers);
    void awakeFromNib();

    void dispInformation();
    void dispShredFileWithPath(const std::string& path);
    void clearShredFile();
    std::optional<DeletionItem> fullPathOfTrashFile(const std::string& name);

private:
    const Platform& platform_;
    Internal* outInternal_ = nullptr;
    External* outExternal_ = nullptr;
    Shredder* outShredder_ = nullptr;
    Utility* outUtility_ = nullptr;
    Manager* outManager_ = nullptr;
    std::atomic<bool> infoExecuting_{false};
};

} // namespace bw
