#pragma once
#include "deletion/Shredder.h"

#include <atomic>

namespace bw::test {

// Shredder raises its deletion flags only inside its own passes; tests raise them directly
// to stand for an automatic pass or a deletion of chosen items that is running.
using ShredderFlag = std::atomic<bool> Shredder::*;
ShredderFlag shreddingFlag();
ShredderFlag partialShreddingFlag();

} // namespace bw::test
