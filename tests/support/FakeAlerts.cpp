#include "tests/support/FakeAlerts.h"

namespace bw::test {

void FakeAlertPresenter::runModal(const AlertContent& alert)
{
    std::lock_guard lock(mutex_);
    shown_.push_back(alert);
}

std::vector<AlertContent> FakeAlertPresenter::shown() const
{
    std::lock_guard lock(mutex_);
    return shown_;
}

} // namespace bw::test
