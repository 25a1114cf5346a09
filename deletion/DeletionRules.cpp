#include "deletion/DeletionRules.h"

#include <algorithm>
#include <cmath>

namespace bw {

namespace {

constexpr double kSecondsPerDay = 86400.0;

} // namespace

double RuleSettings::minimumFreeFor(double capacity) const
{
    if (minimumSize > 0.0)
        return std::trunc(minimumSize);
    // The ratio widened from float rather than rounded to a decimal, as it always was.
    return std::trunc(static_cast<double>(minimumRatio) * capacity);
}

bool FreeSpaceRule::mustDelete(const TrashFigures& figures, TimePoint) const
{
    return figures.freeSpace < settings_.minimumFreeFor(figures.capacity);
}

bool AgeRule::mustDelete(const TrashFigures& figures, TimePoint now) const
{
    // An item of unknown date is not taken for an old one.
    if (days_ <= 0.0f || !figures.oldestTrashedOn)
        return false;
    return Seconds(now - *figures.oldestTrashedOn).count() > static_cast<double>(days_) * kSecondsPerDay;
}

bool SizeCapRule::mustDelete(const TrashFigures& figures, TimePoint) const
{
    return ratio_ > 0.0f && figures.trashBytes > static_cast<double>(ratio_) * figures.capacity;
}

RuleSet::RuleSet(const RuleSettings& settings)
{
    rules_.push_back(std::make_shared<FreeSpaceRule>(settings));
    if (settings.maximumTrashRatio > 0.0f)
        rules_.push_back(std::make_shared<SizeCapRule>(settings.maximumTrashRatio));
    if (settings.maximumAgeDays > 0.0f) {
        rules_.push_back(std::make_shared<AgeRule>(settings.maximumAgeDays));
        dependsOnItems_ = true;
    }
}

RuleSet RuleSet::onlyRule(size_t index) const
{
    RuleSet alone;
    alone.rules_.push_back(rules_.at(index));
    alone.dependsOnItems_ = rules_[index]->reason() == DeletionReason::Age;
    return alone;
}

std::optional<DeletionReason> RuleSet::reasonFor(const TrashFigures& figures, TimePoint now) const
{
    for (const auto& rule : rules_)
        if (rule->mustDelete(figures, now))
            return rule->reason();
    return std::nullopt;
}

std::vector<PlannedDeletion> planDeletions(const RuleSet& rules, TrashFigures figures,
                                           const std::vector<PlannedItem>& oldestFirst, TimePoint now)
{
    std::vector<PlannedDeletion> plan;
    for (size_t i = 0; i < oldestFirst.size(); ++i) {
        // A trash whose counter is down to 0 gets no step.
        if (figures.trashBytes <= 0.0)
            break;
        figures.oldestTrashedOn = oldestFirst[i].trashedOn;
        const auto reason = rules.reasonFor(figures, now);
        if (!reason)
            break;
        plan.push_back({i, *reason});
        figures.freeSpace += oldestFirst[i].bytes;
        figures.trashBytes = std::max(0.0, figures.trashBytes - oldestFirst[i].bytes);
    }
    return plan;
}

} // namespace bw
