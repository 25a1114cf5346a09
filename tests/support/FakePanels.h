#pragma once
#include "platform/HistoryPanelView.h"
#include "platform/InfoPanelView.h"
#include "platform/PrefsPanelView.h"

#include <map>
#include <string>
#include <vector>

namespace bw::test {

// The preferences panel without a screen: keeps what the controller shows, and lets a test
// act as the user (typing, ticking, clicking), each act reaching the controller as the
// real panel forwards it.
class FakePrefsPanel final : public PrefsPanelView {
public:
    void setActions(PrefsPanelActions* actions) override { actions_ = actions; }
    void setTotalSizeText(const std::string& text) override { totalSize = text; }
    void setFullSizeText(const std::string& text) override { fullSize = text; }
    void setMiniSizeText(const std::string& text) override { miniSize = text; }
    std::string miniRatioText() const override { return miniRatio; }
    void setMiniRatioText(const std::string& text) override { miniRatio = text; }
    std::string intervalText() const override { return interval; }
    void setIntervalText(const std::string& text) override { interval = text; }
    double miniRatioStepper() const override { return stepper; }
    void setMiniRatioStepper(double percent) override { stepper = percent; }
    MinimumUnit minimumUnit() const override { return unit; }
    void setMinimumUnit(MinimumUnit chosen) override { unit = chosen; }
    std::string ageDaysText() const override { return ageDays; }
    void setAgeDaysText(const std::string& text) override { ageDays = text; }
    std::string trashCapText() const override { return trashCap; }
    void setTrashCapText(const std::string& text) override { trashCap = text; }
    bool isChecked(Check box) const override;
    void setChecked(Check box, bool ticked) override { checks[box] = ticked; }
    void setNoteShown(Note note, bool shown) override { notes[note] = shown; }
    void setExecButtonEnabled(bool enabled) override { execEnabled = enabled; }
    void setProblemText(const std::string& text) override { problem = text; }
    std::string frameText() const override { return frame; }
    void setFrameText(const std::string& text) override { frame = text; }
    void showPanel() override;
    void closePanel() override;

    // --- the user
    void typeRatio(const std::string& text);
    void typeInterval(const std::string& text);
    void chooseUnit(MinimumUnit chosen);
    void typeAgeDays(const std::string& text);
    void typeTrashCap(const std::string& text);
    void stepTo(double percent);
    void tick(Check box, bool ticked);
    // False when the button is disabled and the click does nothing.
    bool clickExec();
    void clickCancel();
    void moveTo(const std::string& newFrame) { frame = newFrame; }

    bool noteShown(Note note) const;

    std::string totalSize, fullSize, miniSize, miniRatio, interval, ageDays, trashCap;
    MinimumUnit unit = MinimumUnit::Percent;
    double stepper = 0.0;
    std::map<Check, bool> checks;
    std::map<Note, bool> notes;
    bool execEnabled = false;
    std::string problem;
    std::string frame;
    bool open = false;
    int showCount = 0;

private:
    PrefsPanelActions* actions_ = nullptr;
};

// The information panel without a screen.
class FakeInfoPanel final : public InfoPanelView {
public:
    void setActions(InfoPanelActions* actions) override { actions_ = actions; }
    void setStatusText(const std::string& text) override { status = text; }
    void setFigureText(Figure figure, const std::string& text) override { figures[figure] = text; }
    void setShareText(Share share, const std::string& text) override { shares[share] = text; }
    void setMeasuring(bool on) override { measuring = on; }
    void setShredFileText(const std::string& text) override { shredFile = text; }
    void setNextItemText(const std::string& text) override { nextItem = text; }
    std::string overrideText(Override field) const override
    {
        const auto it = overrides.find(field);
        return it == overrides.end() ? std::string() : it->second;
    }
    void setOverrideText(Override field, const std::string& text) override { overrides[field] = text; }
    void setOverridePlaceholder(Override field, const std::string& text) override { placeholders[field] = text; }
    void setOverrideProblemText(const std::string& text) override { overrideProblem = text; }
    std::vector<std::string> diskMenuTitles() const override { return titles; }
    void setDiskMenuTitles(const std::vector<std::string>& newTitles) override;
    int selectedDiskIndex() const override { return selected; }
    void selectDiskIndex(int index) override;
    void setButtonEnabled(Button button, bool enabled) override { enabledButtons[button] = enabled; }
    void setButtonHidden(Button button, bool hidden) override { hiddenButtons[button] = hidden; }
    std::string frameText() const override { return frame; }
    void setFrameText(const std::string& text) override { frame = text; }
    void showPanel() override;
    void setCommands(std::vector<MenuEntry> entries, MenuValidator validator) override
    {
        commands = std::move(entries);
        validate = std::move(validator);
    }

    // --- the user
    void chooseDisk(int index);
    void typeOverride(Override field, const std::string& text);
    // False when the button is hidden or disabled and the click does nothing.
    bool click(Button button);
    void close();

    bool isEnabled(Button button) const;
    bool isHidden(Button button) const;

    std::string status, shredFile, frame, nextItem, overrideProblem;
    std::map<Override, std::string> overrides;
    std::map<Override, std::string> placeholders;
    std::map<Figure, std::string> figures;
    std::map<Share, std::string> shares;
    bool measuring = false;
    std::vector<std::string> titles;
    int selected = -1;
    int menuRebuilds = 0;
    std::map<Button, bool> enabledButtons;
    std::map<Button, bool> hiddenButtons;
    bool open = false;
    int showCount = 0;
    std::vector<MenuEntry> commands;
    MenuValidator validate;

private:
    InfoPanelActions* actions_ = nullptr;
};

// The History window without a screen.
class FakeHistoryPanel final : public HistoryPanelView {
public:
    void setActions(HistoryPanelActions* actions) override { actions_ = actions; }
    void setLines(const std::vector<HistoryLine>& newLines) override { lines = newLines; }
    void setStatusText(const std::string& text) override { status = text; }
    std::string frameText() const override { return frame; }
    void setFrameText(const std::string& text) override { frame = text; }
    void showPanel() override
    {
        open = true;
        ++showCount;
    }

    // --- the user
    void type(const std::string& text) { actions_->filterChanged(text); }
    void clickRefresh() { actions_->actRefresh(); }
    void close()
    {
        open = false;
        actions_->windowWillClose();
    }

    std::vector<HistoryLine> lines;
    std::string status, frame;
    bool open = false;
    int showCount = 0;

private:
    HistoryPanelActions* actions_ = nullptr;
};

} // namespace bw::test
