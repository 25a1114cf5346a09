#pragma once
#include "deletion/DeletionEvent.h"
#include "platform/Clock.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bw {

// What a rule sees of one trash at one moment: its volume's figures, read just before, the
// trash's size counter and the date of the item that would go next (its oldest).
struct TrashFigures {
    double capacity = 0.0;
    double freeSpace = 0.0;
    double trashBytes = 0.0;
    std::optional<TimePoint> oldestTrashedOn;
};

// The settings the rules of one trash follow: the defaults, or its volume's overrides.
struct RuleSettings {
    float minimumRatio = 0.1f;
    double minimumSize = 0.0; // bytes; 0: the ratio gives the minimum
    float maximumAgeDays = 0.0f; // 0: no age limit
    float maximumTrashRatio = 0.0f; // 0: no cap on the trash's share

    // The free space the volume keeps, in whole bytes.
    double minimumFreeFor(double capacity) const;
    bool operator==(const RuleSettings&) const = default;
};

// One question about one trash: must its oldest item go now, and why. A rule reads nothing
// but what it is given.
class DeletionRule {
public:
    virtual ~DeletionRule() = default;
    virtual DeletionReason reason() const = 0;
    virtual bool mustDelete(const TrashFigures& figures, TimePoint now) const = 0;
};

// The volume has less free space than its minimum.
class FreeSpaceRule final : public DeletionRule {
public:
    explicit FreeSpaceRule(const RuleSettings& settings) : settings_(settings) {}
    DeletionReason reason() const override { return DeletionReason::FreeSpace; }
    bool mustDelete(const TrashFigures& figures, TimePoint now) const override;

private:
    RuleSettings settings_;
};

// The oldest item was trashed longer ago than the limit.
class AgeRule final : public DeletionRule {
public:
    explicit AgeRule(float days) : days_(days) {}
    DeletionReason reason() const override { return DeletionReason::Age; }
    bool mustDelete(const TrashFigures& figures, TimePoint now) const override;

private:
    float days_;
};

// The trash holds more than its share of the volume's capacity.
class SizeCapRule final : public DeletionRule {
public:
    explicit SizeCapRule(float ratio) : ratio_(ratio) {}
    DeletionReason reason() const override { return DeletionReason::SizeCap; }
    bool mustDelete(const TrashFigures& figures, TimePoint now) const override;

private:
    float ratio_;
};

// The rules in force for one trash, asked in order: free space, size cap, age.
class RuleSet {
public:
    RuleSet() = default;
    explicit RuleSet(const RuleSettings& settings);
    // The first rule that wants the oldest item gone; none: it stays.
    std::optional<DeletionReason> reasonFor(const TrashFigures& figures, TimePoint now) const;
    // Whether a rule may want an item gone whatever the volume's figures (the age rule):
    // such a trash is looked at in every cycle.
    bool dependsOnItems() const { return dependsOnItems_; }
    const std::vector<std::shared_ptr<const DeletionRule>>& rules() const { return rules_; }
    // The same with the rule at `index` alone, to tell what each would take by itself.
    RuleSet onlyRule(size_t index) const;

private:
    std::vector<std::shared_ptr<const DeletionRule>> rules_;
    bool dependsOnItems_ = false;
};

// One root item as the preview sees it, oldest first.
struct PlannedItem {
    std::string path;
    std::string originalLocation;
    std::optional<TimePoint> trashedOn;
    double bytes = 0.0;
};

struct PlannedDeletion {
    size_t item = 0; // index into the items given
    DeletionReason reason = DeletionReason::FreeSpace;
};

// What the rules would take from one trash, in order, if each deletion freed exactly the
// item's bytes: the items given oldest first are taken while a rule still wants one gone.
std::vector<PlannedDeletion> planDeletions(const RuleSet& rules, TrashFigures figures,
                                           const std::vector<PlannedItem>& oldestFirst, TimePoint now);

} // namespace bw
