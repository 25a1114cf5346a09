#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "manager/Manager.h"
#include "settings/Preferences.h"
#include "deletion/ResFileManager.h"
#include "privileges/Security.h"
#include "infopanel/Volume.h"
#include "platform/DefaultsStore.h"
#include "platform/Platform.h"
#include "settings/SettingsKeys.h"

namespace bw {

Shredder::Shredder(const Platform& platform)
    : platform_(platform), journal_(posix::ShredJournal::defaultFile(platform.stateHome, platform.homeDirectory))
{
}

void Shredder::wire(Internal& internal, Preferences& prefs, Manager& manager, ResFileManager& resFile, External& external, Security& security, Volume& volume)
{
    outInternal_ = &internal;
    outPrefs_ = &prefs;
    outManager_ = &manager;
    outResFile_ = &resFile;
    outExternal_ = &external;
    outSecurity_ = &security;
    outVolume_ = &volume;
}

void Shredder::initialize(DefaultsStore& defaults)
{
    defaults.registerDefaults({
        {keys::InnerShredderSwitch.name, keys::InnerShredderSwitch.registeredDefault},
        {keys::NoRenameFileSwitch.name, keys::NoRenameFileSwitch.registeredDefault},
        {keys::ConfirmShredding.name, keys::ConfirmShredding.registeredDefault},
    });
}

void Shredder::awakeFromNib()
{
    shredMode_.store(0);
    shredding_.store(false);
    shredBreak_.store(false);
    iconFlashing_.store(false);
    initFillData();
    pertialShredding_.store(false);
    DefaultsStore& store = *platform_.defaults;
    shredderSwitch_.store(store.boolForKey(keys::InnerShredderSwitch.name));
    noRenameSwitch_.store(store.boolForKey(keys::NoRenameFileSwitch.name));
    std::lock_guard lock(dateMutex_);
    lastAutoExecDate_ = store.dateForKey(keys::LastAutoExecuteDate);
}

std::optional<TimePoint> Shredder::lastAutoExecDate() const
{
    std::lock_guard lock(dateMutex_);
    return lastAutoExecDate_;
}

void Shredder::setLastAutoExecDate(TimePoint date)
{
    keepLastAutoExecDate(date);
    platform_.defaults->synchronize();
}

void Shredder::keepLastAutoExecDate(TimePoint date)
{
    {
        std::lock_guard lock(dateMutex_);
        lastAutoExecDate_ = date;
    }
    platform_.defaults->setDate(keys::LastAutoExecuteDate, date);
}

void Shredder::noteAutoDeletion(TimePoint date)
{
    // A pass deletes item after item: the settings file is written at the first deletion,
    // then at most once a minute, and when the pass ends (endAutoShred), not at every item.
    keepLastAutoExecDate(date);
    const bool due = !passDateWritten_ || date - *passDateWritten_ >= kPassDateInterval || date < *passDateWritten_;
    passDateUnwritten_ = !due;
    if (due) {
        platform_.defaults->synchronize();
        passDateWritten_ = date;
    }
}

void Shredder::writePassDate()
{
    if (passDateUnwritten_)
        platform_.defaults->synchronize();
    passDateWritten_.reset();
    passDateUnwritten_ = false;
}

} // namespace bw
