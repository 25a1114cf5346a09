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
    preferences.wire(*this);
    manager.wire(*this);
    internal.wire(*this);
    external.wire(*this);
    shredder.wire(*this);
    resFile.wire(*this);
    security.wire(*this);
    utility.wire(*this);
    volume.wire(*this);
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
