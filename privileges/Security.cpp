#include "privileges/Security.h"

#include "app/Controllers.h"

// Placeholder until the permission repair is built: nothing is ever repaired.
namespace bw {

Security::Security(const Platform& platform) : platform_(platform) {}
void Security::wire(Controllers&) {}
long Security::folderEnabler(const std::string&) { return 0; }
long Security::allFilesEnabler(const std::string&, bool* repairStarted)
{
    if (repairStarted)
        *repairStarted = false;
    return 0;
}

} // namespace bw
