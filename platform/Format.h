#pragma once
// printf-style formatting into std::string, for log lines and display texts
// whose formats are fixed by the program ("err=%d(%s)", "%6.2f GB", ...).
#include "platform/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace bw {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "2.50 GB", "12.3 MB", "512 bytes": the size a user reads at a glance, its figure and unit
// joined by a no-break space.
std::string byteCountText(double bytes);

// `name` with characters taken out of its middle, where "…" stands for them, when it has
// more than `longest` characters (UTF-8 sequences count as one and are never cut; a byte
// that is no valid UTF-8 counts as one).
std::string middleShortened(std::string_view name, size_t longest = 80);

// How many characters `text` has, counted as middleShortened counts them.
size_t characterCount(std::string_view text);

// "2026-12-07T15:08:58Z": a date as the JSON output and the dry runs give it, in UTC.
std::string isoDate(TimePoint date);

// `date` in local time, written by strftime's `format` ("%Y-%m-%d %H:%M").
std::string localDateText(TimePoint date, const char* format);

// The bytes of a percent-encoded name or path; none for a bad escape or a decoded NUL.
std::optional<std::string> percentDecoded(std::string_view encoded);

} // namespace bw
