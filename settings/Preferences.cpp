#include "settings/Preferences.h"

#include "accounting/Internal.h"
#include "manager/Manager.h"
#include "deletion/Shredder.h"
#include "platform/DefaultsStore.h"
#include "platform/Platform.h"
#include "platform/PrefsPanelView.h"
#include "platform/Log.h"
#include "settings/SettingsKeys.h"

namespace bw {

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
    });
}

void Preferences::awakeFromNib()
{
    execting_.store(false);
    testModeSwitch_.store(false);
    minimumRatio_.store(keys::valueOf(*platform_.defaults, keys::MinimumFreeSpaceRatio, *platform_.log));
    monitorInterval_.store(keys::valueOf(*platform_.defaults, keys::MonitorIntervalTime, *platform_.log));
    notificationsSwitch_.store(platform_.defaults->boolForKey(keys::PassNotifications.name));
    // A desktop without a display has no panel.
    if (platform_.prefsPanel)
        platform_.prefsPanel->setActions(this);
}

void Preferences::applyAndStore(float ratio, float interval, bool testMode, bool shredderSwitch, bool noRenameSwitch)
{
    minimumRatio_.store(keys::acceptedValue(keys::MinimumFreeSpaceRatio, ratio, *platform_.log));
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
