#include "deletion/ResFileManager.h"

#include "app/Controllers.h"

// Placeholder until the resource fork writer is built: no file has a fork.
namespace bw {

ResFileManager::ResFileManager(const Platform& platform) : platform_(platform) {}
void ResFileManager::wire(Controllers&) {}
int32_t ResFileManager::openFork(const std::string&) { return 0; }
int64_t ResFileManager::writeData(const unsigned char*, size_t) { return 0; }
void ResFileManager::closeFork()
{
    refNumber_ = 0;
    writeOffset_ = 0;
    forkSize_ = 0;
}

} // namespace bw
