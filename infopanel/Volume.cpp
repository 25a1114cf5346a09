#include "infopanel/Volume.h"

#include "app/Controllers.h"

// Placeholder until the information panel is built.
namespace bw {

Volume::Volume(const Platform& platform) : platform_(platform) {}
void Volume::wire(Controllers& c)
{
    outInternal_ = &c.internal;
    outExternal_ = &c.external;
    outShredder_ = &c.shredder;
    outUtility_ = &c.utility;
    outManager_ = &c.manager;
}
void Volume::awakeFromNib() { infoExecuting_.store(false); }
void Volume::dispInformation() {}
void Volume::dispShredFileWithPath(const std::string&) {}
void Volume::clearShredFile() {}
std::optional<DeletionItem> Volume::fullPathOfTrashFile(const std::string&) { return std::nullopt; }

} // namespace bw
