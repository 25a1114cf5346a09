#include "tests/support/FakeLauncher.h"

#include <cerrno>

namespace bw::test {

bool FakePrivilegedLauncher::isAuthorized()
{
    std::lock_guard lock(mutex_);
    return running_;
}

bool FakePrivilegedLauncher::authorize()
{
    std::lock_guard lock(mutex_);
    if (!running_) {
        ++dialogs_;
        running_ = grants_;
    }
    return running_;
}

int FakePrivilegedLauncher::requestRepair(RepairKind kind, const std::string& path)
{
    std::lock_guard lock(mutex_);
    if (!running_)
        return EPIPE;
    if (requestError_ != 0)
        return requestError_;
    requests_.emplace_back(kind, path);
    return 0;
}

void FakePrivilegedLauncher::revoke()
{
    std::lock_guard lock(mutex_);
    running_ = false;
}

void FakePrivilegedLauncher::setRequestError(int error)
{
    std::lock_guard lock(mutex_);
    requestError_ = error;
}

void FakePrivilegedLauncher::setGrants(bool grants)
{
    std::lock_guard lock(mutex_);
    grants_ = grants;
}

int FakePrivilegedLauncher::dialogs() const
{
    std::lock_guard lock(mutex_);
    return dialogs_;
}

std::vector<std::pair<RepairKind, std::string>> FakePrivilegedLauncher::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

} // namespace bw::test
