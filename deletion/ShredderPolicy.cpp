#include "deletion/Shredder.h"

// Placeholder until the automatic delete pass is built: a tick starts nothing.
namespace bw {

void Shredder::autoShred() {}
void Shredder::autoShredThread() {}
int Shredder::autoShredSubInternal() { return kShredNothingLeft; }
int Shredder::autoShredSubExternal(const std::string&, int) { return kShredNothingLeft; }
int Shredder::shredOlderWithPath(const std::string&, const std::vector<std::string>&, std::atomic<double>*)
{
    return kShredNothingLeft;
}
bool Shredder::checkSizeAndResize() { return false; }
void Shredder::setShredMode(uint8_t mode) { shredMode_.store(mode); }

} // namespace bw
