#pragma once
#include "platform/Log.h"
#include "platform/StatusItem.h"

#include <string>
#include <utility>

namespace bw {

// For machines without a display: no icon, while the trashes are still watched and emptied.
class HeadlessStatusItem final : public StatusItem {
public:
    // `why` says which display was looked for, when one was.
    explicit HeadlessStatusItem(Log& log, std::string why = {}) : log_(log), why_(std::move(why)) {}
    void show() override
    {
        log_.line("No display" + (why_.empty() ? std::string() : " (" + why_ + ")") +
                  ": running headless, without a tray icon; the trashes are still watched and emptied");
    }
    void setImage(const std::string&) override {}
    void setToolTip(const std::string&) override {}

private:
    Log& log_;
    std::string why_;
};

} // namespace bw
