#pragma once
#include "platform/Clock.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace bw {

// A root item with its modification date; none when the date could not be read.
struct DatedItem {
    std::string name;
    std::optional<TimePoint> modified;
};

// Whether the item dated `a`, listed at position `aListed`, is deleted before the one dated
// `b`, listed at `bListed`: the earlier date first; among equal dates the one listed first;
// an item without a date after every dated one (it most likely vanished since the listing).
bool ranksBefore(const std::optional<TimePoint>& a, size_t aListed, const std::optional<TimePoint>& b,
                 size_t bListed);

// The position of the item with the greatest age at `now`, by the order of ranksBefore.
// None only for an empty list.
std::optional<size_t> oldestItem(const std::vector<DatedItem>& items, TimePoint now);

} // namespace bw
