#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace bw {

class Controllers;
struct Platform;

// A write cursor over one file's resource fork.
class ResFileManager {
public:
    explicit ResFileManager(const Platform& platform);
    void wire(Controllers& controllers);

    int32_t openFork(const std::string& path);
    int64_t forkSize() const { return forkSize_; }
    int64_t writeData(const unsigned char* data, size_t length);
    void closeFork();

private:
    const Platform& platform_;
    int32_t refNumber_ = 0;
    int64_t writeOffset_ = 0;
    int64_t forkSize_ = 0;
};

} // namespace bw
