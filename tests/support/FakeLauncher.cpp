#include "tests/support/FakeLauncher.h"

#include <cerrno>

namespace bw::test {

bool FakePrivilegedLauncher::isAuthorized()
{
    std::lock_guard lock(mutex_);
    return running_;
}

Authorization FakePrivilegedLauncher::authorize()
{
    std::lock_guard lock(mutex_);
    if (running_)
        return Authorization::Granted;
    ++dialogs_;
    running_ = answer_ == Authorization::Granted;
    return answer_;
}

int FakePrivilegedLauncher::requestRepair(RepairKind kind, const std::string& path, RepairReport& report)
{
    std::lock_guard lock(mutex_);
    if (!running_)
        return EPIPE;
    running_ = false;
    if (requestError_ != 0)
        return requestError_;
    requests_.emplace_back(kind, path);
    report = report_;
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
    setAnswer(grants ? Authorization::Granted : Authorization::NotAuthorized);
}

void FakePrivilegedLauncher::setAnswer(Authorization answer)
{
    std::lock_guard lock(mutex_);
    answer_ = answer;
}

void FakePrivilegedLauncher::setReport(const RepairReport& report)
{
    std::lock_guard lock(mutex_);
    report_ = report;
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
