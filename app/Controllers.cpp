#include "app/Controllers.h"

namespace bw {

Controllers::Controllers(const Platform& platform)
    : preferences(platform),
      manager(platform),
      internal(platform),
      external(platform),
      shredder(platform),
      resFile(platform),
      security(platform),
      utility(platform),
      volume(platform)
{
    preferences.wire(internal, manager, shredder);
    manager.wire(internal, preferences, shredder, external, volume, utility, security);
    internal.wire(manager, preferences, utility);
    external.wire(preferences, utility, security);
    shredder.wire(internal, preferences, manager, resFile, external, security, volume);
    utility.wire(internal, external);
    volume.wire(internal, external, shredder, utility, manager, security, preferences);
    // The panel's next item to go follows the deletions.
    shredder.addDeletionListener(volume);
}

void Controllers::registerDefaults(DefaultsStore& defaults)
{
    Preferences::initialize(defaults);
    Shredder::initialize(defaults);
}

void Controllers::awakeFromNib()
{
    preferences.awakeFromNib();
    manager.awakeFromNib();
    internal.awakeFromNib();
    external.awakeFromNib();
    shredder.awakeFromNib();
    volume.awakeFromNib();
}

} // namespace bw
