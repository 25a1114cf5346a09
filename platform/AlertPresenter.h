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

// A question asked before something that cannot be undone: the text, the button that goes
// ahead, and a check box that stops the question from being asked again.
struct ConfirmContent {
    std::string title;
    std::string text;
    std::string acceptButton;
    std::string suppressionText;
};

struct ConfirmAnswer {
    bool accepted = false;
    bool suppress = false; // the check box was ticked
};

// Modal alerts. runModal returns once the user has dismissed the alert, whichever thread
// calls it; the worker that raised it waits meanwhile. confirm runs on the main thread.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    virtual void runModal(const AlertContent& alert) = 0;
    virtual ConfirmAnswer confirm(const ConfirmContent& question) = 0;
};

// Without a display: the alert's text goes to the log and counts as dismissed at once.
class LoggingAlertPresenter final : public AlertPresenter {
public:
    explicit LoggingAlertPresenter(Log& log) : log_(log) {}
    void runModal(const AlertContent& alert) override { log_.line(alert.title + ": " + alert.text); }
    // Nobody is there to answer: nothing is shredded on an unanswered question.
    ConfirmAnswer confirm(const ConfirmContent& question) override
    {
        log_.line(question.title + ": no one to ask; declined");
        return {};
    }

private:
    Log& log_;
};

} // namespace bw
