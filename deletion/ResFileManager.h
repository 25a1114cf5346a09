#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace bw {

struct Platform;

// A write cursor over one file's resource fork, kept in the extended attribute
// "user.com.apple.ResourceFork". A file without that attribute has no fork.
class ResFileManager {
public:
    explicit ResFileManager(const Platform& platform);
    ~ResFileManager();
    ResFileManager(const ResFileManager&) = delete;
    ResFileManager& operator=(const ResFileManager&) = delete;

    // Non-zero when the file at `path` (never followed through a final link) has a fork.
    int32_t openFork(const std::string& path);
    // The same on a file the caller already opened and checked; the descriptor is duplicated.
    int32_t openForkOn(int fd);
    int64_t forkSize() const { return forkSize_; }
    // Writes at the cursor, extending the fork; the bytes written, 0 on failure (the
    // cursor then stays, so the next call writes at the same place).
    int64_t writeData(const unsigned char* data, size_t length);
    void closeFork();

private:
    const Platform& platform_;
    int32_t refNumber_ = 0;
    int64_t writeOffset_ = 0;
    int64_t forkSize_ = 0;
    int fd_ = -1;
    std::vector<unsigned char> value_; // the fork as last read or written
};

} // namespace bw
