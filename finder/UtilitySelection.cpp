#include "finder/Utility.h"

// Placeholder until the selection source is built: the selection cannot be read.
namespace bw {

std::optional<std::vector<std::string>> Utility::selectedTrashFiles() const { return std::nullopt; }

} // namespace bw
