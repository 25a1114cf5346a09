#pragma once
#include "history/HistoryStore.h"
#include "platform/HistoryPanelView.h"

#include <string>
#include <vector>

namespace bw {

struct Platform;
class Strings;

// One recorded deletion in the words of `strings`: local times, a readable size, its reason,
// "deleted" or "failed: why".
HistoryLine historyLineOf(const HistoryRow& row, Strings& strings);

// Whether every word of `filter` (in any case, for ASCII and Latin-1 letters) is found in
// some column of `line`; an empty filter keeps every line.
bool historyLineMatches(const HistoryLine& line, const std::string& filter);

// The History window's controller: it reads the database afresh at each opening and on
// Refresh (on a worker, since a full history is 100,000 rows), keeps the lines, and shows
// those the filter keeps, newest first. The window only shows and forwards.
class HistoryPanel final : public HistoryPanelActions {
public:
    // `view` is null without a display: there is no window to open.
    HistoryPanel(const Platform& platform, HistoryPanelView* view, std::string databasePath);
    HistoryPanel(const HistoryPanel&) = delete;
    HistoryPanel& operator=(const HistoryPanel&) = delete;

    bool canShow() const { return view_ != nullptr; }
    // Opens the window and reads the history. Main thread.
    void showHistory();

    void filterChanged(const std::string& text) override;
    void actRefresh() override;
    void windowWillClose() override;

    // Where the window's frame is kept in the settings store.
    static constexpr const char* kFrameKey = "HistoryPanel";

private:
    void apply();

    const Platform& platform_;
    HistoryPanelView* view_;
    const std::string path_;
    // Main thread only.
    std::vector<HistoryLine> lines_;
    std::string filter_;
    std::string problem_;
    bool loaded_ = false;
    bool frameRestored_ = false;
};

} // namespace bw
