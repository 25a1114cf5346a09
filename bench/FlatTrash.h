#pragma once
// The trash the emptying benchmarks delete: `items` small files whose dates are out of their
// listing order, so that the oldest-first order costs what it costs in a real trash.
#include "tests/support/TestPlatform.h"

#include <string>

namespace bw::bench {

inline void buildFlatTrash(const std::string& trash, int items)
{
    test::makeFolder(trash);
    for (int i = 0; i < items; ++i) {
        const std::string path = trash + "/item" + std::to_string(i);
        test::writeFile(path, 100);
        test::setModificationTime(path, 1600000000 + (i * 7919) % items);
    }
}

} // namespace bw::bench
