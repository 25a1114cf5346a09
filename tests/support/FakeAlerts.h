#pragma once
#include "platform/AlertPresenter.h"

#include <functional>
#include <mutex>
#include <vector>

namespace bw::test {

// Records every alert and dismisses it at once; answers every question with `answer`.
class FakeAlertPresenter final : public AlertPresenter {
public:
    void runModal(const AlertContent& alert) override;
    ConfirmAnswer confirm(const ConfirmContent& question) override;
    std::vector<AlertContent> shown() const;
    std::vector<ConfirmContent> asked() const;

    ConfirmAnswer answer{true, false};
    // Runs while a question waits for its answer (what the user does meanwhile).
    std::function<void()> whileAsking;

private:
    mutable std::mutex mutex_;
    std::vector<AlertContent> shown_;
    std::vector<ConfirmContent> asked_;
};

} // namespace bw::test
