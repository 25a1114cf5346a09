#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashSnapshot.h"
#include "manager/Manager.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Notifier.h"
#include "platform/Platform.h"
#include "platform/posix/Files.h"
#include "settings/Preferences.h"

#include <algorithm>

namespace bw {

namespace {

std::string itemsText(int count)
{
    return count == 1 ? "1 item" : strprintf("%d items", count);
}

} // namespace

void Shredder::resetPassTotals()
{
    passDeleted_.store(0);
    passBytes_.store(0.0);
    passFailed_.store(0);
    std::lock_guard lock(passMutex_);
    passTrashes_.clear();
    passFailedItems_.clear();
}

void Shredder::tellDeletion(const DeletionEvent& event, bool ofPass)
{
    if (ofPass) {
        (event.deleted ? passDeleted_ : passFailed_).fetch_add(1);
        passBytes_.fetch_add(event.bytes);
        std::lock_guard lock(passMutex_);
        if (!event.deleted)
            passFailedItems_.push_back(event.originalLocation);
        // A volume's name is anyone's choice: a long one must not push the rest out of sight.
        else if (const std::string name = middleShortened(event.trash);
                 std::find(passTrashes_.begin(), passTrashes_.end(), name) == passTrashes_.end())
            passTrashes_.push_back(name);
    }
    // The tray shows the home trash's state: it flashes while a pass deletes from it.
    if (ofPass && event.volumePath.empty() && shredding_.load() && !iconFlashing_.load()) {
        outManager_->setMenuIcon();
        startIconFlashing();
    }
    // What the rules take goes by itself: the history keeps each item, and the trace says it
    // as it goes. The log itself keeps the pass's totals: a pass of thousands of items must
    // not fill it.
    if (event.reason == DeletionReason::FreeSpace || event.reason == DeletionReason::Age ||
        event.reason == DeletionReason::SizeCap)
        logVerbose(*platform_.log, *platform_.keys, escapeControlCharacters(
            event.deleted ? strprintf("Shredded %s (%s, %s)", event.originalLocation.c_str(), reasonName(event.reason),
                                      readableSize(event.bytes).c_str())
                          : strprintf("Could not shred %s (%s): %s", event.originalLocation.c_str(),
                                      reasonName(event.reason), event.failure.c_str())));
    for (DeletionListener* listener : deletionListeners_)
        listener->itemDeleted(event);
}

PassTotals Shredder::passTotals() const
{
    return {passDeleted_.load(), passBytes_.load(), passFailed_.load()};
}

void Shredder::reportPass(bool forced, bool stopped)
{
    const PassTotals totals = passTotals();
    // A free-space pass that found nothing to do is no news; every tick starts one.
    if (!forced && totals.deleted == 0 && totals.failed == 0)
        return;
    std::vector<std::string> names;
    std::vector<std::string> failedItems;
    {
        std::lock_guard lock(passMutex_);
        names = passTrashes_;
        failedItems = passFailedItems_;
    }
    std::string summary;
    std::string text;
    if (totals.deleted == 0 && totals.failed > 0) {
        // Nothing went: what could not go, by name, rather than a count of nothing.
        summary = "Could not delete " + itemsText(totals.failed);
        text = failedItems.empty() ? std::string() : posix::lastComponent(failedItems.front());
        if (failedItems.size() > 1)
            text += strprintf(" and %s more", itemsText(static_cast<int>(failedItems.size()) - 1).c_str());
    } else {
        text = strprintf("Deleted %s (%s)", itemsText(totals.deleted).c_str(), readableSize(totals.bytes).c_str());
        for (size_t i = 0; i < names.size(); ++i)
            text += (i == 0 ? names.size() == 1 ? " from the trash on " : " from the trashes on " : ", ") + names[i];
        if (totals.failed > 0)
            text += strprintf("; %s could not be deleted", itemsText(totals.failed).c_str());
        summary = !forced ? "Trash items deleted" : stopped ? "Emptying stopped" : "Trash emptied";
    }
    platform_.log->line(summary + ": " + escapeControlCharacters(text));
    if (!outPrefs_->notificationsSwitch())
        return;
    Notifier* notifier = platform_.notifier;
    platform_.mainLoop->post([notifier, summary, text] { notifier->notify(summary, text); });
}

std::string failureText(int code)
{
    switch (code) {
    case kShredMoveFailed:
        return "it could not be moved into the dump folder";
    case kShredRemoveFailed:
        return "it could not be removed";
    case kShredRenameFailed:
        return "it could not be renamed before its removal";
    case kShredWriteFailed:
    case kShredResWriteFailed:
        return "it could not be overwritten";
    default:
        return "it could not be deleted";
    }
}

} // namespace bw
