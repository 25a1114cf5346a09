#pragma once
#include <string>

#include "platform/Log.h"

namespace bw {

// What a modal error alert shows: a title, the informative text and one button.
struct AlertContent {
    std::string title;
    std::string text;
    std::string button;
};

// Modal alerts. runModal returns once the user has dismissed the alert, whichever thread
// calls it; the worker that raised it waits meanwhile.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    virtual void runModal(const AlertContent& alert) = 0;
};

// Without a display: the alert's text goes to the log and counts as dismissed at once.
class LoggingAlertPresenter final : public AlertPresenter {
public:
    explicit LoggingAlertPresenter(Log& log) : log_(log) {}
    void runModal(const AlertContent& alert) override { log_.line(alert.title + ": " + alert.text); }

private:
    Log& log_;
};

} // namespace bw
