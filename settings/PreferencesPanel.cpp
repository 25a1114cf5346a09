// The preferences panel's side of Preferences: what the panel shows, when confirm is
// enabled, and what confirming and cancelling do. The panel itself only shows and forwards.
#include "settings/Preferences.h"

#include "accounting/Internal.h"
#include "app/Manager.h"
#include "deletion/Shredder.h"
#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/Platform.h"
#include "platform/PrefsPanelView.h"
#include "settings/SettingsKeys.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace bw {

namespace {

constexpr double kGigabyte = 9.313225746154785e-10; // 2^-30
constexpr float kShortIntervalNote = 60.0f;

using Check = PrefsPanelView::Check;
using Note = PrefsPanelView::Note;

// The number at the start of a field, as a text field reads it: blanks, then a decimal
// number; a field that holds no number reads as 0.
float numberIn(const std::string& text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (p != end && *p == '+')
        ++p;
    const char* digits = (p != end && *p == '-') ? p + 1 : p;
    const bool startsNumber = digits != end && (std::isdigit(static_cast<unsigned char>(*digits)) ||
                                                (*digits == '.' && digits + 1 != end &&
                                                 std::isdigit(static_cast<unsigned char>(digits[1]))));
    double value = 0.0;
    if (!startsNumber || std::from_chars(p, end, value).ec != std::errc())
        return 0.0f;
    return static_cast<float>(value);
}

// The ratio a percentage stands for, in single precision.
float ratioOfPercent(float percent)
{
    return static_cast<float>(static_cast<double>(percent) * 0.01);
}

std::string percentText(float percent)
{
    return strprintf("%g", static_cast<double>(percent));
}

// The shortest text that reads back as the same float, so an untouched interval field
// never counts as a change.
std::string numberText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string gigabytesText(double bytes)
{
    return strprintf("%.2f", static_cast<double>(static_cast<float>(bytes * kGigabyte)));
}

// The whole percent of a ratio. 100 × a stored float ratio can fall just short of the whole
// number it was typed as (0.53 gives 52.99999...), so it is rounded to a few decimals first.
double wholePercentOf(float ratio)
{
    return std::trunc(std::round(static_cast<double>(ratio) * 100.0 * 1e4) / 1e4);
}

} // namespace

void Preferences::execPrefs()
{
    PrefsPanelView* panel = platform_.prefsPanel;
    if (!panel)
        return;
    if (!execting_.exchange(true)) {
        fillPanel(*panel);
        setExecButtonState();
        if (const auto frame = platform_.defaults->stringForKey(keys::PreferencesPanel))
            panel->setFrameText(*frame);
    }
    // Opened again while open: the edits stay, the panel only comes to the front.
    panel->showPanel();
}

void Preferences::fillPanel(PrefsPanelView& panel)
{
    panel.setTotalSizeText(gigabytesText(outInternal_->totalSize()));
    panel.setFullSizeText(gigabytesText(outInternal_->fullTrashSize()));
    const float percent = minimumRatio() * 100.0f;
    panel.setMiniRatioText(percentText(percent));
    panel.setMiniRatioStepper(percent);
    panel.setMiniSizeText(strprintf("(%.2fGB)", outInternal_->miniSize() * kGigabyte));
    panel.setIntervalText(numberText(monitorInterval()));
    panel.setChecked(Check::TestMode, testModeSwitch());
    panel.setChecked(Check::Shredder, !outShredder_->shredderSwitch());
    panel.setChecked(Check::NoRename, outShredder_->noRenameSwitch());
}

bool Preferences::panelDiffers(const PrefsPanelView& panel) const
{
    // A change only in the fractional digits of the percentage does not count.
    const double typedPercent = std::trunc(static_cast<double>(numberIn(panel.miniRatioText())));
    return typedPercent != wholePercentOf(minimumRatio()) ||
           numberIn(panel.intervalText()) != monitorInterval() ||
           panel.isChecked(Check::TestMode) != testModeSwitch() ||
           panel.isChecked(Check::Shredder) != !outShredder_->shredderSwitch() ||
           panel.isChecked(Check::NoRename) != outShredder_->noRenameSwitch();
}

void Preferences::setExecButtonState()
{
    PrefsPanelView* panel = platform_.prefsPanel;
    if (!panel)
        return;
    panel->setExecButtonEnabled(panelDiffers(*panel));
    const float ratio = ratioOfPercent(numberIn(panel->miniRatioText()));
    panel->setFullSizeText(gigabytesText(outInternal_->fullTrashSizeWithRatio(ratio)));
    // The edited minimum is above the free space now: the next tick would start deleting.
    panel->setNoteShown(Note::Ratio, outInternal_->miniSizeWithRatio(ratio) > outInternal_->freeSize());
    panel->setNoteShown(Note::Interval, numberIn(panel->intervalText()) < kShortIntervalNote);
    panel->setNoteShown(Note::TestMode, panel->isChecked(Check::TestMode));
    panel->setNoteShown(Note::Shredder, panel->isChecked(Check::Shredder));
    panel->setNoteShown(Note::NoRename, panel->isChecked(Check::NoRename));
}

void Preferences::showMiniSize(PrefsPanelView& panel, float ratio)
{
    panel.setMiniSizeText(strprintf("(%.2fGB)", outInternal_->miniSizeWithRatio(ratio) * kGigabyte));
}

void Preferences::actMiniRatioText()
{
    PrefsPanelView& panel = *platform_.prefsPanel;
    const float ratio = ratioOfPercent(numberIn(panel.miniRatioText()));
    panel.setMiniRatioStepper(ratio * 100.0f);
    showMiniSize(panel, ratio);
    setExecButtonState();
}

void Preferences::actMiniRatioStepper()
{
    PrefsPanelView& panel = *platform_.prefsPanel;
    const float ratio = ratioOfPercent(static_cast<float>(panel.miniRatioStepper()));
    panel.setMiniRatioText(percentText(ratio * 100.0f));
    showMiniSize(panel, ratio);
    setExecButtonState();
}

void Preferences::actIntervalText()
{
    setExecButtonState();
}

void Preferences::actTestModeCheck()
{
    setExecButtonState();
}

void Preferences::actShredderCheck()
{
    setExecButtonState();
}

void Preferences::actNoRenameCheck()
{
    setExecButtonState();
}

void Preferences::actExecButton()
{
    const PrefsPanelView& panel = *platform_.prefsPanel;
    // No value is bounded: whatever the fields hold is taken.
    applyAndStore(ratioOfPercent(numberIn(panel.miniRatioText())), numberIn(panel.intervalText()),
                  panel.isChecked(Check::TestMode), !panel.isChecked(Check::Shredder),
                  panel.isChecked(Check::NoRename));
    outManager_->sizeMonitor();
    overPrefs();
}

void Preferences::actCancelButton()
{
    overPrefs();
}

void Preferences::overPrefs()
{
    // Closing reaches windowWillClose(), however the panel is closed.
    platform_.prefsPanel->closePanel();
}

void Preferences::windowWillClose()
{
    const std::string frame = platform_.prefsPanel->frameText();
    if (!frame.empty())
        platform_.defaults->setString(keys::PreferencesPanel, frame);
    execting_.store(false);
}

} // namespace bw
