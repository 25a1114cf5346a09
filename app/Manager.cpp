#include "app/Manager.h"

#include "app/Controllers.h"

// Placeholder until the tray application is built.
namespace bw {

Manager::Manager(const Platform& platform) : platform_(platform) {}
void Manager::wire(Controllers& c)
{
    outInternal_ = &c.internal;
    outPrefs_ = &c.preferences;
    outShredder_ = &c.shredder;
    outExternal_ = &c.external;
    outVolume_ = &c.volume;
    outUtility_ = &c.utility;
}
void Manager::awakeFromNib() {}
void Manager::applicationDidFinishLaunching() {}
void Manager::sizeMonitor() {}
void Manager::setMenuIcon() {}
void Manager::setMenuIconMeasuring() {}

} // namespace bw
