#pragma once
#include "platform/Log.h"
#include "platform/StatusItem.h"

namespace bw {

// For machines without a display: no icon, while the trashes are still watched and emptied.
class HeadlessStatusItem final : public StatusItem {
public:
    explicit HeadlessStatusItem(Log& log) : log_(log) {}
    void show() override
    {
        log_.line("No display: running without a tray icon; the trashes are still watched and emptied");
    }
    void setImage(const std::string&) override {}
    void setToolTip(const std::string&) override {}

private:
    Log& log_;
};

} // namespace bw
