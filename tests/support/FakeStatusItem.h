#pragma once
#include "platform/StatusItem.h"

#include <mutex>
#include <string>

namespace bw::test {

// Remembers what the tray would show.
class FakeStatusItem final : public StatusItem {
public:
    void show() override;
    void setImage(const std::string& fileName) override;
    void setToolTip(const std::string& text) override;
    void setFigures(const ToolTipFigures& figures) override;
    ToolTipFigures figures() const;

    std::string image() const;
    std::string toolTip() const;
    bool shown() const;
    int updates() const; // pictures and tool tips set in all

private:
    mutable std::mutex mutex_;
    bool shown_ = false;
    std::string image_;
    std::string toolTip_;
    ToolTipFigures figures_;
    int updates_ = 0;
};

} // namespace bw::test
