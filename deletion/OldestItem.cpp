#include "deletion/OldestItem.h"

namespace bw {

bool ranksBefore(const std::optional<TimePoint>& a, size_t aListed, const std::optional<TimePoint>& b,
                 size_t bListed)
{
    if (a && b && *a != *b)
        return *a < *b;
    if (a.has_value() != b.has_value())
        return a.has_value();
    return aListed < bListed;
}

std::optional<size_t> oldestItem(const std::vector<DatedItem>& items, TimePoint)
{
    if (items.empty())
        return std::nullopt;
    size_t chosen = 0;
    for (size_t i = 1; i < items.size(); ++i)
        if (ranksBefore(items[i].modified, i, items[chosen].modified, chosen))
            chosen = i;
    return chosen;
}

} // namespace bw
