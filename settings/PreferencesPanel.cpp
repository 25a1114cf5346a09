// The preferences panel's side of Preferences: what the panel shows, when confirm is
// enabled, and what confirming and cancelling do. The panel itself only shows and forwards.
#include "settings/Preferences.h"

#include "accounting/Internal.h"
#include "manager/Manager.h"
#include "deletion/Shredder.h"
#include "platform/Autostart.h"
#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/PrefsPanelView.h"
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

namespace bw {

namespace {

constexpr double kGigabyte = 9.313225746154785e-10; // 2^-30
constexpr float kShortIntervalNote = 60.0f;

using Check = PrefsPanelView::Check;
using Note = PrefsPanelView::Note;
using Unit = PrefsPanelView::MinimumUnit;

constexpr double kBytesPerGigabyte = 1073741824.0;
constexpr double kLongestAgeDays = 36500.0;

// Bounds of what the panel takes: a minimum of 0 to 99 % of the volume, and a monitor
// interval of one second to one day (the monitor clamps to the same range).
constexpr double kLowestPercent = 0.0;
constexpr double kHighestPercent = 99.0;

// The number a field holds: blanks around one decimal number and nothing else. None for
// anything else ("abc", "12 %", "nan", "inf"), so it is refused rather than read as 0.
std::optional<double> numberIn(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(text[begin])) || text[begin] == '.' ||
                          text[begin] == '-'))
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + begin, text.data() + end, value);
    if (result.ec != std::errc() || result.ptr != text.data() + end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The minimum the field holds, in percent, when it is a number the panel takes.
std::optional<double> percentIn(const std::string& text)
{
    const auto percent = numberIn(text);
    if (!percent || *percent < kLowestPercent || *percent > kHighestPercent)
        return std::nullopt;
    return percent;
}

// The minimum as a size the field holds, in GB: more than nothing.
std::optional<double> gigabytesIn(const std::string& text)
{
    const auto gigabytes = numberIn(text);
    if (!gigabytes || *gigabytes <= 0.0)
        return std::nullopt;
    return gigabytes;
}

std::optional<double> daysIn(const std::string& text)
{
    const auto days = numberIn(text);
    if (!days || *days < 0.0 || *days > kLongestAgeDays)
        return std::nullopt;
    return days;
}

// Whether the field holds `size` as the panel shows it, to two decimals of a GB.
bool isShownSize(const std::string& text, double size)
{
    const auto typed = numberIn(text);
    return typed && std::round(*typed * 100.0) == std::round(size / kBytesPerGigabyte * 100.0);
}

bool inGigabytes(const PrefsPanelView& panel)
{
    return panel.minimumUnit() == Unit::Gigabytes;
}

// A figure for the field, to two decimals at most.
std::string twoDecimals(double value)
{
    return strprintf("%g", std::round(value * 100.0) / 100.0);
}

// The number as the controller reads it where a value is needed whatever the field holds.
float numberOr0(const std::string& text)
{
    return static_cast<float>(numberIn(text).value_or(0.0));
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

// A size is never shown below nothing: a minimum above what the volume can free leaves
// the trash no room at all, not a negative one.
std::string gigabytesText(double bytes)
{
    const double shown = std::max(0.0, static_cast<double>(static_cast<float>(bytes * kGigabyte)));
    return strprintf("%.2f", shown);
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
    const RuleSettings rules = defaultRules();
    if (rules.minimumSize > 0.0) {
        const double gigabytes = rules.minimumSize / kBytesPerGigabyte;
        panel.setMinimumUnit(Unit::Gigabytes);
        panel.setMiniRatioText(twoDecimals(gigabytes));
        panel.setMiniRatioStepper(gigabytes);
        showMiniSizeShare(panel, rules.minimumSize);
    } else {
        const float percent = minimumRatio() * 100.0f;
        panel.setMinimumUnit(Unit::Percent);
        panel.setMiniRatioText(percentText(percent));
        panel.setMiniRatioStepper(percent);
        panel.setMiniSizeText(strprintf("(%.2fGB)", outInternal_->miniSize() * kGigabyte));
    }
    panel.setAgeDaysText(numberText(rules.maximumAgeDays));
    panel.setTrashCapText(percentText(rules.maximumTrashRatio * 100.0f));
    panel.setIntervalText(numberText(monitorInterval()));
    panel.setChecked(Check::TestMode, testModeSwitch());
    panel.setChecked(Check::Shredder, !outShredder_->shredderSwitch());
    panel.setChecked(Check::NoRename, outShredder_->noRenameSwitch());
    panel.setChecked(Check::StartAtLogin, startsAtLogin());
    panel.setChecked(Check::Notifications, notificationsSwitch());
    panel.setChecked(Check::ConfirmShredding, confirmsShredding());
}

bool Preferences::startsAtLogin() const
{
    return platform_.autostart && platform_.autostart->isEnabled();
}

bool Preferences::confirmsShredding() const
{
    // The shredder's question reads the setting each time it would ask.
    return platform_.defaults->boolForKey(keys::ConfirmShredding.name);
}

bool Preferences::panelDiffers(const PrefsPanelView& panel) const
{
    // A change only in the fractional digits of the percentage does not count.
    const double typedPercent = std::trunc(static_cast<double>(numberOr0(panel.miniRatioText())));
    const RuleSettings rules = defaultRules();
    const bool minimumDiffers = inGigabytes(panel) ? rules.minimumSize <= 0.0 || !isShownSize(panel.miniRatioText(), rules.minimumSize)
                                                   : rules.minimumSize > 0.0 || typedPercent != wholePercentOf(minimumRatio());
    return minimumDiffers || static_cast<float>(numberIn(panel.ageDaysText()).value_or(-1.0)) != rules.maximumAgeDays ||
           ratioOfPercent(numberOr0(panel.trashCapText())) != rules.maximumTrashRatio ||
           numberOr0(panel.intervalText()) != monitorInterval() ||
           panel.isChecked(Check::StartAtLogin) != startsAtLogin() ||
           panel.isChecked(Check::Notifications) != notificationsSwitch() ||
           panel.isChecked(Check::ConfirmShredding) != confirmsShredding() ||
           panel.isChecked(Check::TestMode) != testModeSwitch() ||
           panel.isChecked(Check::Shredder) != !outShredder_->shredderSwitch() ||
           panel.isChecked(Check::NoRename) != outShredder_->noRenameSwitch();
}

std::string Preferences::problemWith(const PrefsPanelView& panel) const
{
    if (inGigabytes(panel) ? !gigabytesIn(panel.miniRatioText()) : !percentIn(panel.miniRatioText()))
        return inGigabytes(panel) ? "The minimum free space must be a size above 0 GB."
                                  : "The minimum free space must be a number from 0 to 99 %.";
    const auto interval = numberIn(panel.intervalText());
    if (!interval || *interval < Manager::kShortestInterval || *interval > Manager::kLongestInterval)
        return "The check interval must be a number of seconds from 1 to 86400 (one day).";
    if (!daysIn(panel.ageDaysText()))
        return "The age limit must be a number of days from 0 (off) to 36500.";
    if (!percentIn(panel.trashCapText()))
        return "The trash's share of its volume must be a number from 0 (off) to 99 %.";
    return {};
}

void Preferences::setExecButtonState()
{
    PrefsPanelView* panel = platform_.prefsPanel;
    if (!panel)
        return;
    const std::string problem = problemWith(*panel);
    const bool differs = panelDiffers(*panel);
    panel->setExecButtonEnabled(differs && problem.empty());
    // Said only where it keeps a change from being confirmed.
    panel->setProblemText(differs ? problem : std::string());
    // The figures follow the minimum while it is a number in range; otherwise they stay.
    if (inGigabytes(*panel)) {
        if (const auto gigabytes = gigabytesIn(panel->miniRatioText())) {
            const double size = std::round(*gigabytes * kBytesPerGigabyte);
            panel->setFullSizeText(gigabytesText(outInternal_->freeSize() + outInternal_->trashSize() - size));
            panel->setNoteShown(Note::Ratio, size > outInternal_->freeSize());
        }
    } else if (const auto percent = percentIn(panel->miniRatioText())) {
        const float ratio = ratioOfPercent(static_cast<float>(*percent));
        panel->setFullSizeText(gigabytesText(outInternal_->fullTrashSizeWithRatio(ratio)));
        // The edited minimum is above the free space now: the next tick would start deleting.
        panel->setNoteShown(Note::Ratio, outInternal_->miniSizeWithRatio(ratio) > outInternal_->freeSize());
    }
    const auto interval = numberIn(panel->intervalText());
    panel->setNoteShown(Note::Interval, interval && *interval < kShortIntervalNote);
    panel->setNoteShown(Note::TestMode, panel->isChecked(Check::TestMode));
    panel->setNoteShown(Note::Shredder, panel->isChecked(Check::Shredder));
    panel->setNoteShown(Note::NoRename, panel->isChecked(Check::NoRename));
}

void Preferences::showMiniSize(PrefsPanelView& panel, float ratio)
{
    panel.setMiniSizeText(strprintf("(%.2fGB)", outInternal_->miniSizeWithRatio(ratio) * kGigabyte));
}

void Preferences::showMiniSizeShare(PrefsPanelView& panel, double size)
{
    const double capacity = outInternal_->totalSize();
    panel.setMiniSizeText(capacity > 0.0 ? strprintf("(%.2f %%)", size / capacity * 100.0) : std::string());
}

void Preferences::actMiniRatioText()
{
    PrefsPanelView& panel = *platform_.prefsPanel;
    if (inGigabytes(panel)) {
        if (const auto gigabytes = gigabytesIn(panel.miniRatioText())) {
            panel.setMiniRatioStepper(*gigabytes);
            showMiniSizeShare(panel, *gigabytes * kBytesPerGigabyte);
        }
        setExecButtonState();
        return;
    }
    // While the field holds no number in range the stepper and the minimum stay as they were.
    if (const auto percent = percentIn(panel.miniRatioText())) {
        const float ratio = ratioOfPercent(static_cast<float>(*percent));
        panel.setMiniRatioStepper(ratio * 100.0f);
        showMiniSize(panel, ratio);
    }
    setExecButtonState();
}

void Preferences::actMiniRatioStepper()
{
    PrefsPanelView& panel = *platform_.prefsPanel;
    if (inGigabytes(panel)) {
        const double gigabytes = panel.miniRatioStepper();
        panel.setMiniRatioText(twoDecimals(gigabytes));
        showMiniSizeShare(panel, gigabytes * kBytesPerGigabyte);
        setExecButtonState();
        return;
    }
    const float ratio = ratioOfPercent(static_cast<float>(panel.miniRatioStepper()));
    panel.setMiniRatioText(percentText(ratio * 100.0f));
    showMiniSize(panel, ratio);
    setExecButtonState();
}

void Preferences::actMinimumUnit()
{
    // The figure typed is carried over into the other unit, at the startup volume's capacity.
    PrefsPanelView& panel = *platform_.prefsPanel;
    const double capacity = outInternal_->totalSize();
    const double typed = numberIn(panel.miniRatioText()).value_or(0.0);
    if (inGigabytes(panel)) {
        const double gigabytes = std::round(typed / 100.0 * capacity / kBytesPerGigabyte * 100.0) / 100.0;
        panel.setMiniRatioText(twoDecimals(gigabytes));
        panel.setMiniRatioStepper(gigabytes);
        showMiniSizeShare(panel, gigabytes * kBytesPerGigabyte);
    } else {
        const double percent =
            capacity > 0.0 ? std::clamp(typed * kBytesPerGigabyte / capacity * 100.0, kLowestPercent, kHighestPercent) : 0.0;
        panel.setMiniRatioText(twoDecimals(percent));
        panel.setMiniRatioStepper(percent);
        showMiniSize(panel, ratioOfPercent(static_cast<float>(percent)));
    }
    setExecButtonState();
}

void Preferences::actAgeDaysText()
{
    setExecButtonState();
}

void Preferences::actTrashCapText()
{
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

void Preferences::actStartAtLoginCheck()
{
    setExecButtonState();
}

void Preferences::actNotificationsCheck()
{
    setExecButtonState();
}

void Preferences::actConfirmShreddingCheck()
{
    setExecButtonState();
}

void Preferences::setNotificationsSwitch(bool on)
{
    keepNotificationsSwitch(on);
    platform_.defaults->synchronize();
}

void Preferences::keepNotificationsSwitch(bool on)
{
    notificationsSwitch_.store(on);
    platform_.defaults->setBool(keys::PassNotifications.name, on);
}

void Preferences::actExecButton()
{
    const PrefsPanelView& panel = *platform_.prefsPanel;
    // Only values in range are taken; the button is disabled otherwise, and says why.
    if (!problemWith(panel).empty())
        return;
    // Stored only when changed, and synchronized with the rest by applyAndStore.
    if (const bool ask = panel.isChecked(Check::ConfirmShredding); ask != confirmsShredding())
        platform_.defaults->setBool(keys::ConfirmShredding.name, ask);
    if (const bool notify = panel.isChecked(Check::Notifications); notify != notificationsSwitch())
        keepNotificationsSwitch(notify);
    if (const auto rules = rulesIn(panel))
        keepDefaultRules(*rules);
    const float ratio = inGigabytes(panel) ? minimumRatio() : ratioOfPercent(numberOr0(panel.miniRatioText()));
    applyAndStore(ratio, numberOr0(panel.intervalText()),
                  panel.isChecked(Check::TestMode), !panel.isChecked(Check::Shredder),
                  panel.isChecked(Check::NoRename));
    if (const bool wanted = panel.isChecked(Check::StartAtLogin); platform_.autostart && wanted != startsAtLogin()) {
        std::string error;
        if (!platform_.autostart->setEnabled(wanted, error))
            platform_.log->line("Start at login could not be " + std::string(wanted ? "set up: " : "turned off: ") +
                                error);
    }
    outManager_->sizeMonitor();
    overPrefs();
}

std::optional<RuleSettings> Preferences::rulesIn(const PrefsPanelView& panel) const
{
    RuleSettings rules = defaultRules();
    if (inGigabytes(panel)) {
        const auto gigabytes = gigabytesIn(panel.miniRatioText());
        if (!gigabytes)
            return std::nullopt;
        // The size shown, untouched, is the size in force, not its rounding to two decimals.
        if (!isShownSize(panel.miniRatioText(), rules.minimumSize))
            rules.minimumSize = std::round(*gigabytes * kBytesPerGigabyte);
    } else {
        const auto percent = percentIn(panel.miniRatioText());
        if (!percent)
            return std::nullopt;
        rules.minimumRatio = ratioOfPercent(numberOr0(panel.miniRatioText()));
        rules.minimumSize = 0.0;
    }
    const auto days = daysIn(panel.ageDaysText());
    const auto cap = percentIn(panel.trashCapText());
    if (!days || !cap)
        return std::nullopt;
    rules.maximumAgeDays = static_cast<float>(*days);
    rules.maximumTrashRatio = ratioOfPercent(static_cast<float>(*cap));
    return rules;
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
