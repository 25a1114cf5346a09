#include "tests/support/FakePanels.h"

namespace bw::test {

bool FakePrefsPanel::isChecked(Check box) const
{
    const auto it = checks.find(box);
    return it != checks.end() && it->second;
}

bool FakePrefsPanel::noteShown(Note note) const
{
    const auto it = notes.find(note);
    return it != notes.end() && it->second;
}

void FakePrefsPanel::showPanel()
{
    open = true;
    ++showCount;
}

void FakePrefsPanel::closePanel()
{
    // As on the desktop: only an open panel closes, and closing tells the controller.
    if (!open)
        return;
    open = false;
    actions_->windowWillClose();
}

void FakePrefsPanel::typeRatio(const std::string& text)
{
    miniRatio = text;
    actions_->actMiniRatioText();
}

void FakePrefsPanel::typeInterval(const std::string& text)
{
    interval = text;
    actions_->actIntervalText();
}

void FakePrefsPanel::chooseUnit(MinimumUnit chosen)
{
    unit = chosen;
    actions_->actMinimumUnit();
}

void FakePrefsPanel::typeAgeDays(const std::string& text)
{
    ageDays = text;
    actions_->actAgeDaysText();
}

void FakePrefsPanel::typeTrashCap(const std::string& text)
{
    trashCap = text;
    actions_->actTrashCapText();
}

void FakePrefsPanel::stepTo(double percent)
{
    stepper = percent;
    actions_->actMiniRatioStepper();
}

void FakePrefsPanel::tick(Check box, bool ticked)
{
    checks[box] = ticked;
    switch (box) {
    case Check::TestMode:
        actions_->actTestModeCheck();
        break;
    case Check::Shredder:
        actions_->actShredderCheck();
        break;
    case Check::NoRename:
        actions_->actNoRenameCheck();
        break;
    case Check::StartAtLogin:
        actions_->actStartAtLoginCheck();
        break;
    case Check::Notifications:
        actions_->actNotificationsCheck();
        break;
    case Check::ConfirmShredding:
        actions_->actConfirmShreddingCheck();
        break;
    }
}

bool FakePrefsPanel::clickExec()
{
    if (!execEnabled)
        return false;
    actions_->actExecButton();
    return true;
}

void FakePrefsPanel::clickCancel()
{
    actions_->actCancelButton();
}

void FakeInfoPanel::setDiskMenuTitles(const std::vector<std::string>& newTitles)
{
    titles = newTitles;
    selected = -1;
    ++menuRebuilds;
}

void FakeInfoPanel::selectDiskIndex(int index)
{
    selected = index >= 0 && index < static_cast<int>(titles.size()) ? index : -1;
}

void FakeInfoPanel::showPanel()
{
    open = true;
    ++showCount;
}

void FakeInfoPanel::chooseDisk(int index)
{
    selectDiskIndex(index);
    actions_->actDiskMenu();
}

bool FakeInfoPanel::click(Button button)
{
    if (isHidden(button) || !isEnabled(button))
        return false;
    switch (button) {
    case Button::ForcedEmpty:
        actions_->actForcedEmpty();
        break;
    case Button::Reinspect:
        actions_->actReinspect();
        break;
    case Button::NewInspect:
        actions_->actNewInspect();
        break;
    case Button::ForcedTimer:
        actions_->actForcedTimer();
        break;
    case Button::StopEmpty:
        actions_->actStopEmpty();
        break;
    case Button::ApplyOverrides:
        actions_->actApplyOverrides();
        break;
    }
    return true;
}

void FakeInfoPanel::typeOverride(Override field, const std::string& text)
{
    overrides[field] = text;
    actions_->actOverrideText();
}

void FakeInfoPanel::close()
{
    if (!open)
        return;
    open = false;
    actions_->windowWillClose();
}

bool FakeInfoPanel::isEnabled(Button button) const
{
    const auto it = enabledButtons.find(button);
    return it == enabledButtons.end() || it->second;
}

bool FakeInfoPanel::isHidden(Button button) const
{
    const auto it = hiddenButtons.find(button);
    return it != hiddenButtons.end() && it->second;
}

} // namespace bw::test
