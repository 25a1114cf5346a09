#include "tests/support/FakeVolumeSource.h"

#include <algorithm>

namespace bw::test {

std::vector<std::string> FakeVolumeSource::volumePaths()
{
    std::lock_guard lock(mutex_);
    ++asked_;
    return paths_;
}

void FakeVolumeSource::set(std::vector<std::string> paths)
{
    std::lock_guard lock(mutex_);
    paths_ = std::move(paths);
}

void FakeVolumeSource::mount(const std::string& path)
{
    std::lock_guard lock(mutex_);
    paths_.push_back(path);
}

void FakeVolumeSource::unmount(const std::string& path)
{
    std::lock_guard lock(mutex_);
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

int FakeVolumeSource::asked() const
{
    std::lock_guard lock(mutex_);
    return asked_;
}

} // namespace bw::test
