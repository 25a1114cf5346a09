#include "manager/Manager.h"

#include "accounting/External.h"
#include "accounting/TrashSnapshot.h"
#include "deletion/Shredder.h"
#include "platform/Format.h"
#include "platform/Platform.h"
#include "platform/Strings.h"

#include <utility>

namespace bw {

TrashSnapshot Manager::snapshot() const
{
    return takeSnapshot(*outInternal_, *outExternal_, outShredder_->lastAutoExecDate(), outShredder_->isPassRunning());
}

std::string Manager::answerRequest(const std::string& request)
{
    if (request == "check") {
        applicationShouldHandleReopen();
        return "done\n";
    }
    // A start from the application menu: the user wants to see the program, tray or not.
    if (request == "reopen") {
        applicationShouldHandleReopen();
        actDispInformation();
        return "done\n";
    }
    if (request == "status") {
        TrashSnapshot all = snapshot();
        outShredder_->addPreview(all);
        return snapshotJson(all);
    }
    // What a check, or an emptying, would delete now; nothing is deleted.
    if (request == "plan" || request == "plan-empty") {
        const std::string plan = outShredder_->dryRunText(request == "plan-empty");
        // The list itself is data for scripts, one tab-separated line per item; only this line is words.
        return plan.empty() ? platform_.strings->localized("Nothing would be deleted now.") + "\n" : plan;
    }
    if (request == "table")
        return snapshotTable(snapshot(), *platform_.strings);
    if (request == "totals") {
        // Counted afresh; an emptying asked for next takes exactly these items.
        RootItemCount count = outShredder_->countRootItems(true, outExternal_->volumePaths());
        countedItems_ = std::move(count.ids);
        return strprintf("%d %.0f\n", count.items, count.bytes);
    }
    if (request == "empty") {
        // A forced emptying already under way carries on; a stop asked of it stands.
        if (outShredder_->shredMode() != 1) {
            outShredder_->setAgreedItems(std::exchange(countedItems_, std::nullopt));
            startForcedTrash(DeletionReason::CommandLine);
        }
        return "done\n";
    }
    if (request == "stop") {
        if (!outShredder_->isShredding())
            return "idle\n";
        if (outShredder_->shredMode() == 1)
            stopForcedTrash();
        else
            outShredder_->setShredBreak(true);
        return "done\n";
    }
    return {};
}

} // namespace bw
