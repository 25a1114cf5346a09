#pragma once
#include <optional>
#include <string>
#include <vector>

namespace bw {

class External;
class Internal;
struct Platform;

// Stateless helpers: entry sizes, differences of name lists, titles against strings, and
// the items the user copied from a trash folder in the file manager.
class Utility {
public:
    explicit Utility(const Platform& platform);
    void wire(Internal& internal, External& external);

    double fileSizeAtPath(const std::string& path) const;
    // The measured size of a trash item in an open folder: its own lstat size plus that of
    // everything below it, links not followed; an entry that cannot be read counts 0 after
    // the same log line as fileSizeAtPath.
    double measuredSizeAt(int folderFd, const std::string& name) const;
    // The same for the entries `names` of one folder, in their order, by kMeasuringThreads
    // threads sharing the work; they have ended when it returns.
    std::vector<double> measuredSizesAt(int folderFd, const std::vector<std::string>& names) const;
    static constexpr int kMeasuringThreads = 2;
    std::vector<std::string> addedFilesWithPresent(const std::vector<std::string>& present,
                                                   const std::vector<std::string>& original) const;
    std::vector<std::string> removedFilesWithPresent(const std::vector<std::string>& present,
                                                     const std::vector<std::string>& original) const;
    // The menu items' titles, taken by the caller, against a list of strings.
    bool isEqualArray(const std::vector<std::string>& titles, const std::vector<std::string>& strings) const;

    std::optional<std::vector<std::string>> selectedTrashFiles() const;
    // The same selection as full paths, for a caller that must know which trash each is in.
    std::optional<std::vector<std::string>> selectedTrashPaths() const;

private:
    bool isDirectlyInTrash(const std::string& path) const;

    const Platform& platform_;
    Internal* outInternal_ = nullptr;
    External* outExternal_ = nullptr;
};

} // namespace bw
