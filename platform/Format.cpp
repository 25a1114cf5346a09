#include "platform/Format.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace bw {

std::string strprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string byteCountText(double bytes)
{
    constexpr double kMegabyte = 1024.0 * 1024.0;
    constexpr double kGigabyte = 1024.0 * kMegabyte;
    bytes = std::max(bytes, 0.0);
    if (bytes >= kGigabyte)
        return strprintf("%.2f GB", bytes / kGigabyte);
    if (bytes >= kMegabyte)
        return strprintf("%.1f MB", bytes / kMegabyte);
    if (bytes >= 1024.0)
        return strprintf("%.1f KB", bytes / 1024.0);
    return strprintf("%.0f bytes", bytes);
}

} // namespace bw
