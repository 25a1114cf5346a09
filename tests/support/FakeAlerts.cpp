#include "tests/support/FakeAlerts.h"

namespace bw::test {

void FakeAlertPresenter::runModal(const AlertContent& alert)
{
    std::lock_guard lock(mutex_);
    shown_.push_back(alert);
}

ConfirmAnswer FakeAlertPresenter::confirm(const ConfirmContent& question)
{
    if (whileAsking)
        whileAsking();
    std::lock_guard lock(mutex_);
    asked_.push_back(question);
    return answer;
}

std::vector<ConfirmContent> FakeAlertPresenter::asked() const
{
    std::lock_guard lock(mutex_);
    return asked_;
}

std::vector<AlertContent> FakeAlertPresenter::shown() const
{
    std::lock_guard lock(mutex_);
    return shown_;
}

} // namespace bw::test
