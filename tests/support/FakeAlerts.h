#pragma once
#include "platform/AlertPresenter.h"

#include <mutex>
#include <vector>

namespace bw::test {

// Records every alert and dismisses it at once.
class FakeAlertPresenter final : public AlertPresenter {
public:
    void runModal(const AlertContent& alert) override;
    std::vector<AlertContent> shown() const;

private:
    mutable std::mutex mutex_;
    std::vector<AlertContent> shown_;
};

} // namespace bw::test
