#include "settings/Preferences.h"

#include "accounting/Internal.h"
#include "manager/Manager.h"
#include "deletion/Shredder.h"
#include "platform/DefaultsStore.h"
#include "platform/Platform.h"
#include "platform/PrefsPanelView.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "settings/SettingsKeys.h"

#include <cstdio>
#include <functional>

namespace bw {

namespace {

// Each rule's stored value, checked alone: one out of range falls back to its default (off),
// with a line, and leaves the others as they are.
template <typename T>
T usableRule(T value, T fallback, const char* key, Log& log, const std::function<bool(const RuleSettings&)>& fits,
             T RuleSettings::*field)
{
    RuleSettings probe;
    probe.*field = value;
    if (fits(probe))
        return value;
    log.line(strprintf("%s %g is out of range; %g applies", key, static_cast<double>(value),
                       static_cast<double>(fallback)));
    return fallback;
}

} // namespace

void Preferences::loadDefaultRules()
{
    DefaultsStore& store = *platform_.defaults;
    Log& log = *platform_.log;
    const auto fits = [](const RuleSettings& probe) { return problemWithRules(probe).empty(); };
    RuleSettings rules;
    rules.minimumRatio = minimumRatio_.load();
    const auto size = store.stringForKey(keys::MinimumFreeSpaceSize);
    double bytes = 0.0;
    if (size && !size->empty() && std::sscanf(size->c_str(), "%lf", &bytes) != 1)
        bytes = -1.0;
    rules.minimumSize = usableRule(bytes, 0.0, keys::MinimumFreeSpaceSize, log, fits, &RuleSettings::minimumSize);
    rules.maximumAgeDays = usableRule(store.floatForKey(keys::MaximumItemAgeDays.name), 0.0f,
                                      keys::MaximumItemAgeDays.name, log, fits, &RuleSettings::maximumAgeDays);
    rules.maximumTrashRatio = usableRule(store.floatForKey(keys::MaximumTrashRatio.name), 0.0f,
                                         keys::MaximumTrashRatio.name, log, fits, &RuleSettings::maximumTrashRatio);
    std::lock_guard lock(rulesMutex_);
    defaultRules_ = rules;
}

Preferences::Preferences(const Platform& platform) : platform_(platform) {}

void Preferences::wire(Internal& internal, Manager& manager, Shredder& shredder)
{
    outInternal_ = &internal;
    outManager_ = &manager;
    outShredder_ = &shredder;
}

void Preferences::initialize(DefaultsStore& defaults)
{
    defaults.registerDefaults({
        {keys::MinimumFreeSpaceRatio.name, keys::MinimumFreeSpaceRatio.registeredDefault},
        {keys::MonitorIntervalTime.name, keys::MonitorIntervalTime.registeredDefault},
        {keys::PassNotifications.name, keys::PassNotifications.registeredDefault},
        {keys::Verbose.name, keys::Verbose.registeredDefault},
        {keys::MaximumItemAgeDays.name, keys::MaximumItemAgeDays.registeredDefault},
        {keys::MaximumTrashRatio.name, keys::MaximumTrashRatio.registeredDefault},
    });
}

void Preferences::awakeFromNib()
{
    execting_.store(false);
    testModeSwitch_.store(false);
    minimumRatio_.store(keys::valueOf(*platform_.defaults, keys::MinimumFreeSpaceRatio, *platform_.log));
    loadDefaultRules();
    monitorInterval_.store(keys::valueOf(*platform_.defaults, keys::MonitorIntervalTime, *platform_.log));
    notificationsSwitch_.store(platform_.defaults->boolForKey(keys::PassNotifications.name));
    // A desktop without a display has no panel.
    if (platform_.prefsPanel)
        platform_.prefsPanel->setActions(this);
}

void Preferences::applyAndStore(float ratio, float interval, bool testMode, bool shredderSwitch, bool noRenameSwitch)
{
    minimumRatio_.store(keys::acceptedValue(keys::MinimumFreeSpaceRatio, ratio, *platform_.log));
    {
        std::lock_guard lock(rulesMutex_);
        defaultRules_.minimumRatio = minimumRatio_.load();
    }
    monitorInterval_.store(interval);
    testModeSwitch_.store(testMode);
    outShredder_->setShredderSwitch(shredderSwitch);
    outShredder_->setNoRenameSwitch(noRenameSwitch);

    DefaultsStore& store = *platform_.defaults;
    store.setFloat(keys::MinimumFreeSpaceRatio.name, minimumRatio_.load());
    store.setFloat(keys::MonitorIntervalTime.name, monitorInterval_.load());
    store.setBool(keys::InnerShredderSwitch.name, outShredder_->shredderSwitch());
    store.setBool(keys::NoRenameFileSwitch.name, outShredder_->noRenameSwitch());
    // Test mode is never stored: it is off at every start.
    store.synchronize();
}

} // namespace bw
