#include "platform/Format.h"

#include <ctime>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace bw {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The length of the UTF-8 character that starts at `at`; 1 for a byte that starts none.
size_t characterLength(std::string_view text, size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xf0 && lead < 0xf8 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
    if (length == 1 || lead >= 0xf8 || at + length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80)
            return 1;
    return length;
}

} // namespace

size_t characterCount(std::string_view text)
{
    size_t count = 0;
    for (size_t at = 0; at < text.size(); at += characterLength(text, at))
        ++count;
    return count;
}

std::string middleShortened(std::string_view name, size_t longest)
{
    std::vector<size_t> starts; // where each character begins
    for (size_t at = 0; at < name.size(); at += characterLength(name, at))
        starts.push_back(at);
    if (starts.size() <= longest || longest < 2)
        return std::string(name);
    // The ellipsis takes one place; the head keeps the odd one.
    const size_t tail = (longest - 1) / 2;
    const size_t head = longest - 1 - tail;
    return std::string(name.substr(0, starts[head])) + "\xe2\x80\xa6" +
           std::string(name.substr(starts[starts.size() - tail]));
}

std::optional<std::string> percentDecoded(std::string_view encoded)
{
    std::string bytes;
    bytes.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            bytes.push_back(encoded[i]);
            continue;
        }
        const int high = i + 2 < encoded.size() ? hexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return bytes;
}


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
    // A no-break space (U+00A0) binds the figure to its unit, so no line ends between them.
    constexpr double kMegabyte = 1024.0 * 1024.0;
    constexpr double kGigabyte = 1024.0 * kMegabyte;
    bytes = std::max(bytes, 0.0);
    if (bytes >= kGigabyte)
        return strprintf("%.2f\u00a0GB", bytes / kGigabyte);
    if (bytes >= kMegabyte)
        return strprintf("%.1f\u00a0MB", bytes / kMegabyte);
    if (bytes >= 1024.0)
        return strprintf("%.1f\u00a0KB", bytes / 1024.0);
    return strprintf("%.0f\u00a0bytes", bytes);
}

std::string isoDate(TimePoint date)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string localDateText(TimePoint date, const char* format)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[64];
    return std::strftime(text, sizeof text, format, &local) > 0 ? text : "";
}

} // namespace bw
