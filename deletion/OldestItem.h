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

// The position of the item with the greatest age at `now`. Among equal ages the first
// listed wins; an item without a date ranks as the youngest (it most likely vanished
// since the listing). None only for an empty list.
std::optional<size_t> oldestItem(const std::vector<DatedItem>& items, TimePoint now);

} // namespace bw
