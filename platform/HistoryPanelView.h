#pragma once
#include "platform/FramedPanel.h"

#include <string>
#include <vector>

namespace bw {

// One deletion as the History window shows it, every column already text.
struct HistoryLine {
    std::string when;
    std::string trash;
    std::string originalLocation;
    std::string path;
    std::string size;
    std::string trashedOn;
    std::string reason;
    std::string result;
    bool deleted = false; // the result, whatever language its words are in
};

// What the History window forwards to its controller.
class HistoryPanelActions {
public:
    virtual ~HistoryPanelActions() = default;
    virtual void filterChanged(const std::string& text) = 0;
    virtual void actRefresh() = 0;
    // Reached whenever the window closes, by any means.
    virtual void windowWillClose() = 0;
};

// The History window as its controller sees it: a filter field, a table of deletions,
// newest first, and a line that counts them. Main thread only.
class HistoryPanelView : public FramedPanel {
public:
    virtual void setActions(HistoryPanelActions* actions) = 0;
    // Replaces every row of the table, in the order given.
    virtual void setLines(const std::vector<HistoryLine>& lines) = 0;
    virtual void setStatusText(const std::string& text) = 0;
    // Restores a frame given by frameText(); an unreadable one is ignored.
    virtual void setFrameText(const std::string& frame) = 0;
    // Shows the window and brings it, and the application, to the front.
    virtual void showPanel() = 0;
};

} // namespace bw
