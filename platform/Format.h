#pragma once
// printf-style formatting into std::string, for log lines and display texts
// whose formats are fixed by the program ("err=%d(%s)", "%6.2f GB", ...).
#include <string>

namespace bw {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "2.50 GB", "12.3 MB", "512 bytes": the size a user reads at a glance.
std::string byteCountText(double bytes);

} // namespace bw
