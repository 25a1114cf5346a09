// The information panel's side of the deletion rules: the chosen volume's own values and the
// item of its trash that goes next.
#include "infopanel/Volume.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "deletion/Shredder.h"
#include "manager/Manager.h"
#include "platform/Format.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "platform/posix/Files.h"
#include "settings/Preferences.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace bw {

namespace {

using Override = InfoPanelView::Override;
using Button = InfoPanelView::Button;

constexpr double kBytesPerGigabyte = 1073741824.0;
// The next item is looked up again at most this often while deletions go on.
constexpr Seconds kNextItemPeriod{5.0};
constexpr Override kFields[] = {Override::MinimumRatio, Override::MinimumSize, Override::AgeDays, Override::TrashCap};

std::string figure(double value)
{
    return strprintf("%g", std::round(value * 100.0) / 100.0);
}

// A field's value in the panel's unit, from the setting's own unit.
double shown(Override field, double value)
{
    switch (field) {
    case Override::MinimumRatio:
    case Override::TrashCap:
        return value * 100.0;
    case Override::MinimumSize:
        return value / kBytesPerGigabyte;
    case Override::AgeDays:
        return value;
    }
    return value;
}

std::optional<double> ownValue(const VolumeOverrides& overrides, Override field)
{
    switch (field) {
    case Override::MinimumRatio:
        return overrides.minimumRatio ? std::optional<double>(*overrides.minimumRatio) : std::nullopt;
    case Override::MinimumSize:
        return overrides.minimumSize;
    case Override::AgeDays:
        return overrides.maximumAgeDays ? std::optional<double>(*overrides.maximumAgeDays) : std::nullopt;
    case Override::TrashCap:
        return overrides.maximumTrashRatio ? std::optional<double>(*overrides.maximumTrashRatio) : std::nullopt;
    }
    return std::nullopt;
}

double defaultValue(const RuleSettings& rules, Override field)
{
    switch (field) {
    case Override::MinimumRatio:
        return rules.minimumRatio;
    case Override::MinimumSize:
        return rules.minimumSize;
    case Override::AgeDays:
        return rules.maximumAgeDays;
    case Override::TrashCap:
        return rules.maximumTrashRatio;
    }
    return 0.0;
}

// The whole field as one number; none for anything else.
std::optional<double> numberIn(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::string Volume::mountPointOfSelection() const
{
    const int index = selectedVolume();
    if (index == 0)
        return outInternal_->volumeMountPoint();
    return index > 0 ? volumePathOfSelection() : std::string();
}

void Volume::showOverrides(InfoPanelView& panel, const std::string& mountPoint)
{
    overridesShownFor_ = mountPoint;
    const RuleSettings defaults = outPrefs_->defaultRules();
    const VolumeOverrides own = mountPoint.empty() ? VolumeOverrides{} : outPrefs_->overridesOf(outPrefs_->volumeKeyAt(mountPoint));
    for (const Override field : kFields) {
        const double fallback = defaultValue(defaults, field);
        // Unset: what applies instead, so that an empty field never reads as "nothing".
        const bool unused = fallback == 0.0 && field != Override::MinimumRatio;
        panel.setOverridePlaceholder(field, unused ? "off (default)" : figure(shown(field, fallback)) + " (default)");
        const auto value = ownValue(own, field);
        panel.setOverrideText(field, value ? figure(shown(field, *value)) : std::string());
    }
    panel.setOverrideProblemText({});
    panel.setButtonEnabled(Button::ApplyOverrides, false);
}

std::optional<VolumeOverrides> Volume::overridesIn(const InfoPanelView& panel, std::string& problem) const
{
    VolumeOverrides overrides;
    for (const Override field : kFields) {
        const std::string text = panel.overrideText(field);
        if (text.empty())
            continue;
        const auto number = numberIn(text);
        if (!number) {
            problem = "Each value must be a number, or empty for the default.";
            return std::nullopt;
        }
        switch (field) {
        case Override::MinimumRatio:
            overrides.minimumRatio = static_cast<float>(*number / 100.0);
            break;
        case Override::MinimumSize:
            overrides.minimumSize = std::round(*number * kBytesPerGigabyte);
            break;
        case Override::AgeDays:
            overrides.maximumAgeDays = static_cast<float>(*number);
            break;
        case Override::TrashCap:
            overrides.maximumTrashRatio = static_cast<float>(*number / 100.0);
            break;
        }
    }
    problem = problemWithRules(overrides.over(outPrefs_->defaultRules()));
    if (!problem.empty())
        return std::nullopt;
    return overrides;
}

void Volume::actOverrideText()
{
    InfoPanelView& panel = *platform_.infoPanel;
    const std::string mountPoint = mountPointOfSelection();
    std::string problem;
    const auto typed = overridesIn(panel, problem);
    const bool differs =
        typed && !mountPoint.empty() && !(*typed == outPrefs_->overridesOf(outPrefs_->volumeKeyAt(mountPoint)));
    panel.setOverrideProblemText(problem);
    panel.setButtonEnabled(Button::ApplyOverrides, differs);
}

void Volume::actApplyOverrides()
{
    InfoPanelView& panel = *platform_.infoPanel;
    const std::string mountPoint = mountPointOfSelection();
    std::string problem;
    const auto typed = overridesIn(panel, problem);
    if (!typed || mountPoint.empty())
        return;
    outPrefs_->setOverrides(outPrefs_->volumeKeyAt(mountPoint), *typed);
    showOverrides(panel, mountPoint);
    nextStale_.store(true);
    nextShownAt_.reset();
    // The new values may want items gone now.
    outManager_->sizeMonitor();
    renewAllInfo();
}

void Volume::itemDeleted(const DeletionEvent&)
{
    nextStale_.store(true);
}

void Volume::showNextItem(InfoPanelView& panel)
{
    const TimePoint now = platform_.clock->now();
    if (nextShownAt_ && (!nextStale_.load() || now - *nextShownAt_ < kNextItemPeriod))
        return;
    nextStale_.store(false);
    nextShownAt_ = now;
    const int index = selectedVolume();
    if (index < 0)
        return;
    const std::string volume = index == 0 ? std::string() : volumePathOfSelection();
    if (index > 0 && volume.empty())
        return;
    const auto next = outShredder_->nextToGoAt(volume);
    Strings& strings = *platform_.strings;
    if (!next) {
        panel.setNextItemText(strings.localized("Nothing: the trash is empty"));
        return;
    }
    // The item's name stays as it is; only the words around it are the user's language.
    const std::string trashed = next->item.trashedOn
                                    ? localizedWith(strings, "trashed on %1", {strings.localDate(*next->item.trashedOn, false)})
                                    : strings.localized("trashed on an unknown day");
    std::string text = strprintf("%s (%s), %s", posix::lastComponent(next->item.originalLocation).c_str(),
                                 byteCountText(next->item.bytes).c_str(), trashed.c_str());
    text += ": " + (next->dueNow ? localizedWith(strings, "goes at the next check (%1)",
                                                  {strings.localized(reasonName(*next->dueNow))})
                                 : strings.localized("no rule wants it gone yet"));
    panel.setNextItemText(text);
}

} // namespace bw
