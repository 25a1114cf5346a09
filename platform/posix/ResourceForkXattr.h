#pragma once
// The resource fork of a file copied from a Mac keeps living in this extended attribute.
#include <optional>
#include <vector>

namespace bw::posix {

inline constexpr const char* kResourceForkAttribute = "user.com.apple.ResourceFork";

// The attribute's value on an open file; none when the file has no fork or the file
// system has no user attributes.
std::optional<std::vector<unsigned char>> readResourceFork(int fd);

// Replaces the attribute's value; errno is kept on failure.
bool writeResourceFork(int fd, const std::vector<unsigned char>& value);

} // namespace bw::posix
