#pragma once
#include "accounting/External.h"
#include "accounting/Internal.h"
#include "manager/Manager.h"
#include "deletion/ResFileManager.h"
#include "deletion/Shredder.h"
#include "finder/Utility.h"
#include "infopanel/Volume.h"
#include "privileges/Security.h"
#include "settings/Preferences.h"

namespace bw {

struct Platform;

// The nine controllers, one of each, created together and wired to each other once.
// Nothing here owns anything of the others; every controller lives as long as this object.
class Controllers {
public:
    explicit Controllers(const Platform& platform);
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Registers the defaults of Preferences and Shredder; runs before any controller wakes.
    static void registerDefaults(DefaultsStore& defaults);

    // Wakes every controller; the launch is finished by Manager::applicationDidFinishLaunching().
    void awakeFromNib();

    Preferences preferences;
    Manager manager;
    Internal internal;
    External external;
    Shredder shredder;
    ResFileManager resFile;
    Security security;
    Utility utility;
    Volume volume;
};

} // namespace bw
