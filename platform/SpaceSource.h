#pragma once
#include <string>

namespace bw {

struct SpaceFigures {
    double capacity = 0.0; // bytes
    double free = 0.0;     // bytes available to the user
};

// Capacity and free space of the file system that holds a path, read afresh at each call.
// A path that cannot be queried gives zeros.
class SpaceSource {
public:
    virtual ~SpaceSource() = default;
    virtual SpaceFigures figures(const std::string& path) = 0;
};

} // namespace bw
