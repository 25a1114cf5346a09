#include "deletion/Shredder.h"

// Placeholder until the deletion of chosen items is built.
namespace bw {

void Shredder::partialShred(DeletionList) {}
void Shredder::partialShredThread(const DeletionList&) {}
void Shredder::startIconFlashing() { iconFlashing_.store(true); }
void Shredder::stopIconFlashing() { iconFlashing_.store(false); }
void Shredder::iconFlashThread() {}

} // namespace bw
