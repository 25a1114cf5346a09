#pragma once
#include "platform/VolumeSource.h"

#include <mutex>
#include <string>
#include <vector>

namespace bw::test {

// The volumes a test says are mounted, in its order; mount and unmount change the list
// from any thread.
class FakeVolumeSource final : public VolumeSource {
public:
    std::vector<std::string> volumePaths() override;
    void set(std::vector<std::string> paths);
    void mount(const std::string& path);
    void unmount(const std::string& path);
    int asked() const; // how many times the list was asked for

private:
    mutable std::mutex mutex_;
    std::vector<std::string> paths_;
    int asked_ = 0;
};

} // namespace bw::test
