#include "deletion/OldestItem.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

TimePoint at(long seconds)
{
    return std::chrono::system_clock::from_time_t(seconds);
}

TEST(OldestItemTest, EarliestDateWinsTiesGoToTheFirstListedAndUndatedItemsRankYoungest)
{
    const TimePoint now = at(1700000000);
    EXPECT_FALSE(oldestItem({}, now));
    EXPECT_EQ(oldestItem({{"only", std::nullopt}}, now), 0u);

    EXPECT_EQ(oldestItem({{"new", at(1699990000)}, {"old", at(1600000000)}, {"mid", at(1650000000)}}, now), 1u);
    EXPECT_EQ(oldestItem({{"a", at(1600000000)}, {"b", at(1600000000)}}, now), 0u);
    // A date in the future is still a date: younger than anything in the past.
    EXPECT_EQ(oldestItem({{"future", at(1800000000)}, {"past", at(1699999999)}}, now), 1u);
    // Sub-second differences count.
    EXPECT_EQ(oldestItem({{"later", at(1600000000) + std::chrono::milliseconds(1)}, {"earlier", at(1600000000)}}, now), 1u);

    // An item that vanished since the listing is never preferred over one that is there,
    // whether it comes first or later in the list.
    EXPECT_EQ(oldestItem({{"gone", std::nullopt}, {"young", at(1699999999)}}, now), 1u);
    EXPECT_EQ(oldestItem({{"young", at(1699999999)}, {"gone", std::nullopt}}, now), 0u);
    EXPECT_EQ(oldestItem({{"gone1", std::nullopt}, {"gone2", std::nullopt}}, now), 0u);
}

} // namespace
} // namespace bw
