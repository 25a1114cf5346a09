#include "deletion/Shredder.h"

#include "deletion/PassMessage.h"
#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashSnapshot.h"
#include "manager/Manager.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Notifier.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "platform/posix/Files.h"
#include "settings/Preferences.h"

#include <algorithm>

namespace bw {

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
    PassFacts pass{passTotals(), forced, stopped, {}, {}};
    // A free-space pass that found nothing to do is no news; every tick starts one.
    if (!forced && pass.totals.deleted == 0 && pass.totals.failed == 0)
        return;
    {
        std::lock_guard lock(passMutex_);
        pass.trashes = passTrashes_;
        pass.failedItems = passFailedItems_;
    }
    UntranslatedStrings english;
    const PassMessage logged = passMessage(english, pass, readableSize(pass.totals.bytes));
    platform_.log->line(logged.summary + ": " + escapeControlCharacters(logged.text));
    if (!outPrefs_->notificationsSwitch())
        return;
    const PassMessage told = passMessage(*platform_.strings, pass, notifiedSize(*platform_.strings, pass.totals.bytes));
    Notifier* notifier = platform_.notifier;
    platform_.mainLoop->post([notifier, told] { notifier->notify(told.summary, told.text); });
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
