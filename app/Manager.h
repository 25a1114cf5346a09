#pragma once
#include <string>

namespace bw {

class Controllers;
class External;
class Internal;
class Preferences;
class Shredder;
class Utility;
class Volume;
struct Platform;

// The application controller: the status item, the monitor loop, the status icon and
// the status menu.
class Manager {
public:
    explicit Manager(const Platform& platform);
    void wire(Controllers& controllers);
    void awakeFromNib();
    void applicationDidFinishLaunching();

    void sizeMonitor();
    void setMenuIcon();
    void setMenuIconMeasuring();

private:
    const Platform& platform_;
    Internal* outInternal_ = nullptr;
    Preferences* outPrefs_ = nullptr;
    Shredder* outShredder_ = nullptr;
    External* outExternal_ = nullptr;
    Volume* outVolume_ = nullptr;
    Utility* outUtility_ = nullptr;
};

} // namespace bw
