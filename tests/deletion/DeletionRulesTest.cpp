#include "deletion/DeletionRules.h"

#include <gtest/gtest.h>

namespace bw::test {
namespace {

constexpr double kTerabyte = 1099511627776.0;
constexpr double kGigabyte = 1073741824.0;
const TimePoint kNow = std::chrono::system_clock::from_time_t(1700000000);

TimePoint daysAgo(double days)
{
    return kNow - std::chrono::duration_cast<TimePoint::duration>(Seconds(days * 86400.0));
}

std::optional<DeletionReason> reasonOf(const RuleSettings& settings, const TrashFigures& figures)
{
    return RuleSet(settings).reasonFor(figures, kNow);
}

TEST(DeletionRulesTest, AMinimumGivenAsASizeReplacesTheShareOfCapacity)
{
    RuleSettings settings; // 10 % of 4 TB would be 400 GB
    const TrashFigures figures{4 * kTerabyte, 300 * kGigabyte, kGigabyte, std::nullopt};
    EXPECT_EQ(reasonOf(settings, figures), DeletionReason::FreeSpace);
    settings.minimumSize = 100 * kGigabyte;
    EXPECT_EQ(reasonOf(settings, figures), std::nullopt);
    // Below the size, whatever the share says; exactly at it is enough.
    EXPECT_EQ(reasonOf(settings, {4 * kTerabyte, 99 * kGigabyte, kGigabyte, std::nullopt}), DeletionReason::FreeSpace);
    EXPECT_EQ(reasonOf(settings, {4 * kTerabyte, 100 * kGigabyte, kGigabyte, std::nullopt}), std::nullopt);
    // A share of 0 and no size: never short of space.
    EXPECT_EQ(reasonOf(RuleSettings{0.0f, 0.0, 0.0f, 0.0f}, {kTerabyte, 0.0, kGigabyte, std::nullopt}), std::nullopt);
}

TEST(DeletionRulesTest, TheAgeRuleTakesOnlyItemsTrashedLongerAgoThanItsLimit)
{
    RuleSettings settings;
    settings.maximumAgeDays = 30.0f;
    const auto withOldest = [](std::optional<TimePoint> date) {
        return TrashFigures{kTerabyte, kTerabyte / 2, kGigabyte, date}; // ample room
    };
    EXPECT_EQ(reasonOf(settings, withOldest(daysAgo(30.01))), DeletionReason::Age);
    EXPECT_EQ(reasonOf(settings, withOldest(daysAgo(30.0))), std::nullopt);
    EXPECT_EQ(reasonOf(settings, withOldest(daysAgo(29.0))), std::nullopt);
    // An item of unknown date, and one dated in the future, are not old.
    EXPECT_EQ(reasonOf(settings, withOldest(std::nullopt)), std::nullopt);
    EXPECT_EQ(reasonOf(settings, withOldest(daysAgo(-400.0))), std::nullopt);
    EXPECT_TRUE(RuleSet(settings).dependsOnItems());
    // Off by default.
    EXPECT_EQ(reasonOf(RuleSettings{}, withOldest(daysAgo(10000.0))), std::nullopt);
    EXPECT_FALSE(RuleSet(RuleSettings{}).dependsOnItems());
    // Short of space too: the free-space minimum is named first.
    EXPECT_EQ(reasonOf(settings, {kTerabyte, 0.0, kGigabyte, daysAgo(40.0)}), DeletionReason::FreeSpace);
}

TEST(DeletionRulesTest, TheSizeCapHoldsATrashAtItsShareOfTheVolume)
{
    RuleSettings settings;
    settings.maximumTrashRatio = 0.05f;
    const double cap = static_cast<double>(0.05f) * kTerabyte;
    EXPECT_EQ(reasonOf(settings, {kTerabyte, kTerabyte / 2, cap + 1.0, std::nullopt}), DeletionReason::SizeCap);
    EXPECT_EQ(reasonOf(settings, {kTerabyte, kTerabyte / 2, cap, std::nullopt}), std::nullopt);
    EXPECT_EQ(reasonOf(RuleSettings{}, {kTerabyte, kTerabyte / 2, kTerabyte / 3, std::nullopt}), std::nullopt);
}

TEST(DeletionRulesTest, APlanTakesTheOldestFirstUntilNoRuleWantsMore)
{
    const std::vector<PlannedItem> items{
        {"a", "/home/u/a", daysAgo(50), 300.0},
        {"b", "/home/u/b", daysAgo(40), 300.0},
        {"c", "/home/u/c", daysAgo(20), 300.0},
        {"d", "/home/u/d", std::nullopt, 300.0},
    };
    RuleSettings capped{0.0f, 0.0, 0.0f, 0.5f};
    // 1200 bytes in a trash of a 1500-byte volume whose cap is 750: two items go.
    auto plan = planDeletions(RuleSet(capped), {1500.0, 300.0, 1200.0, std::nullopt}, items, kNow);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].item, 0u);
    EXPECT_EQ(plan[1].item, 1u);
    EXPECT_EQ(plan[1].reason, DeletionReason::SizeCap);

    // Age alone: what is older than 30 days, however much room there is.
    RuleSettings aged{0.0f, 0.0, 30.0f, 0.0f};
    plan = planDeletions(RuleSet(aged), {1e12, 1e11, 1200.0, std::nullopt}, items, kNow);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[1].reason, DeletionReason::Age);

    // The free space rises with each item; a minimum as a size of 1000 bytes needs three.
    RuleSettings sized{0.0f, 1000.0, 0.0f, 0.0f};
    plan = planDeletions(RuleSet(sized), {1e6, 200.0, 1200.0, std::nullopt}, items, kNow);
    EXPECT_EQ(plan.size(), 3u);
    // A trash whose counter runs out gets no more steps, short of space or not.
    plan = planDeletions(RuleSet(sized), {1e6, 0.0, 500.0, std::nullopt}, items, kNow);
    EXPECT_EQ(plan.size(), 2u);
}

} // namespace
} // namespace bw::test
