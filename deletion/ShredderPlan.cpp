// What a pass would delete, worked out from the trashes as they are and the rules in force,
// deleting nothing: the preview of `--status --json`, the dry runs and the panel's next item.
#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashSnapshot.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/posix/Files.h"
#include "settings/Preferences.h"

#include <ctime>

namespace bw {

namespace {

std::string dateText(const std::optional<TimePoint>& date)
{
    return date ? isoDate(*date) : "-";
}

} // namespace

Shredder::TrashPlan Shredder::planOf(const TrashBooks& books, const std::string& mountPoint, const SpaceFigures& space,
                                     double counter)
{
    TrashPlan plan;
    plan.rules = rulesAt(mountPoint);
    plan.figures = TrashFigures{space.capacity, space.free, counter, std::nullopt};
    // The pass's own order: the same queue, listed now.
    RootItemQueue queue(false);
    queue.fill(books.itemFolders(), platform_.homeDirectory);
    const auto sizes = books.items();
    while (!queue.empty()) {
        const RootItemQueue::Entry entry = queue.pop();
        const ItemFolder& folder = queue.folder(entry.folder);
        PlannedItem item;
        item.path = posix::joinPath(folder.path, entry.name);
        item.originalLocation = folder.layout->originalLocation(folder, entry.name).value_or(item.path);
        item.trashedOn = entry.date;
        // Measured sizes from the books; an item not yet measured is measured here.
        const auto measured = sizes ? sizes->find(folder.keyPrefix + entry.name) : TrashFiles::const_iterator{};
        item.bytes = sizes && measured != sizes->end() ? measured->second : posix::measuredSize(item.path);
        plan.items.push_back(std::move(item));
    }
    return plan;
}

std::optional<Shredder::NextToGo> Shredder::nextToGoAt(const std::string& volumePath)
{
    const bool home = volumePath.empty();
    const auto books = home ? nullptr : outExternal_->booksAtPath(volumePath);
    const TrashBooks& trash = home ? outInternal_->books() : *books;
    RootItemQueue queue(false);
    queue.fill(trash.itemFolders(), platform_.homeDirectory);
    if (queue.empty())
        return std::nullopt;
    const RootItemQueue::Entry entry = queue.pop();
    const ItemFolder& folder = queue.folder(entry.folder);
    NextToGo next;
    next.item.path = posix::joinPath(folder.path, entry.name);
    next.item.originalLocation = folder.layout->originalLocation(folder, entry.name).value_or(next.item.path);
    next.item.trashedOn = entry.date;
    const auto sizes = trash.items();
    const auto measured = sizes ? sizes->find(folder.keyPrefix + entry.name) : TrashFiles::const_iterator{};
    next.item.bytes = sizes && measured != sizes->end() ? measured->second : posix::measuredSize(next.item.path);
    const SpaceFigures space = home ? outInternal_->spaceFigures() : outExternal_->spaceFiguresWithPath(volumePath);
    const double counter = home ? outInternal_->trashSize() : outExternal_->trashSizeWithPath(volumePath);
    const RuleSet rules = rulesAt(home ? outInternal_->volumeMountPoint() : volumePath);
    // A trash whose counter is 0 gets no step, whatever the rules say.
    if (counter != 0.0)
        next.dueNow = rules.reasonFor(TrashFigures{space.capacity, space.free, counter, entry.date}, platform_.clock->now());
    return next;
}

std::vector<Shredder::TrashPlan> Shredder::allPlans()
{
    std::vector<TrashPlan> plans;
    plans.push_back(planOf(outInternal_->books(), outInternal_->volumeMountPoint(), outInternal_->spaceFigures(),
                           outInternal_->trashSize()));
    for (const auto& path : outExternal_->volumePaths())
        plans.push_back(planOf(*outExternal_->booksAtPath(path), path, outExternal_->spaceFiguresWithPath(path),
                               outExternal_->trashSizeWithPath(path)));
    return plans;
}

void Shredder::addPreview(TrashSnapshot& snapshot)
{
    const auto plans = allPlans();
    const TimePoint now = platform_.clock->now();
    // The snapshot lists the same trashes in the same order, unless a volume came or went
    // in between: then the preview is left out rather than put on the wrong trash.
    if (plans.size() != snapshot.trashes.size())
        return;
    for (size_t i = 0; i < plans.size(); ++i) {
        const TrashPlan& plan = plans[i];
        TrashState& state = snapshot.trashes[i];
        if (!plan.items.empty()) {
            const PlannedItem& first = plan.items.front();
            state.next = NextItem{posix::lastComponent(first.path), first.originalLocation, first.trashedOn, first.bytes};
        }
        for (size_t r = 0; r < plan.rules.rules().size(); ++r) {
            const auto taken = planDeletions(plan.rules.onlyRule(r), plan.figures, plan.items, now);
            if (taken.empty())
                continue;
            RuleTake take{reasonName(plan.rules.rules()[r]->reason()), static_cast<int>(taken.size()), 0.0};
            for (const auto& deletion : taken)
                take.bytes += plan.items[deletion.item].bytes;
            state.wouldDelete.push_back(std::move(take));
        }
    }
}

std::string Shredder::dryRunText(bool emptying)
{
    const auto plans = allPlans();
    const TimePoint now = platform_.clock->now();
    std::vector<std::vector<PlannedDeletion>> taken;
    for (const auto& plan : plans) {
        if (!emptying) {
            taken.push_back(planDeletions(plan.rules, plan.figures, plan.items, now));
            continue;
        }
        // An emptying takes every item of a trash whose counter is not 0.
        std::vector<PlannedDeletion> all;
        for (size_t i = 0; plan.figures.trashBytes != 0 && i < plan.items.size(); ++i)
            all.push_back({i, DeletionReason::CommandLine});
        taken.push_back(std::move(all));
    }
    // A pass takes one item of each trash per cycle, the home trash first.
    std::string text;
    for (size_t round = 0;; ++round) {
        bool any = false;
        for (size_t t = 0; t < plans.size(); ++t) {
            if (round >= taken[t].size())
                continue;
            any = true;
            const PlannedItem& item = plans[t].items[taken[t][round].item];
            // A name's own tabs and line feeds are written out, so that a line is one item.
            text += strprintf("%s\t%.0f\t%s\t%s\n", reasonName(taken[t][round].reason), item.bytes,
                              dateText(item.trashedOn).c_str(), escapeControlCharacters(item.originalLocation).c_str());
        }
        if (!any)
            break;
    }
    return text;
}

} // namespace bw
