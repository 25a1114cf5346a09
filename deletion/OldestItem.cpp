#include "deletion/OldestItem.h"

namespace bw {

std::optional<size_t> oldestItem(const std::vector<DatedItem>& items, TimePoint now)
{
    if (items.empty())
        return std::nullopt;
    size_t chosen = 0;
    for (size_t i = 1; i < items.size(); ++i) {
        const auto& candidate = items[chosen].modified;
        const auto& challenger = items[i].modified;
        if (!challenger)
            continue;
        if (!candidate || Seconds(now - *challenger).count() > Seconds(now - *candidate).count())
            chosen = i;
    }
    return chosen;
}

} // namespace bw
