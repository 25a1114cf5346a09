#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashSnapshot.h"
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
    passFolders_.clear();
}

// A measurement may move the counter meanwhile; a rise does not count as bytes freed.
void Shredder::countItem(bool deleted, double bytesFreed, const std::string& folder)
{
    (deleted ? passDeleted_ : passFailed_).fetch_add(1);
    if (bytesFreed > 0.0)
        passBytes_.fetch_add(bytesFreed);
    if (deleted) {
        std::lock_guard lock(passMutex_);
        passFolders_.insert(folder);
    }
}

PassTotals Shredder::passTotals() const
{
    return {passDeleted_.load(), passBytes_.load(), passFailed_.load()};
}

std::vector<std::string> Shredder::passTrashNames() const
{
    std::set<std::string> folders;
    {
        std::lock_guard lock(passMutex_);
        folders = passFolders_;
    }
    const auto volumes = outExternal_->volumePaths();
    bool home = false;
    std::vector<std::string> names;
    for (const auto& folder : folders) {
        // The deepest volume that holds the folder; none: the home trash's.
        std::string holder;
        for (const auto& volume : volumes)
            if (folder.rfind(volume + "/", 0) == 0 && volume.size() > holder.size())
                holder = volume;
        if (holder.empty())
            home = true;
        else if (const std::string name = middleShortened(posix::lastComponent(holder));
                 std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    // A volume's name is anyone's choice: a long one must not push the rest out of sight.
    if (home)
        names.insert(names.begin(), middleShortened(outInternal_->volumeName()));
    return names;
}

void Shredder::reportPass(bool forced, bool stopped)
{
    const PassTotals totals = passTotals();
    // A free-space pass that found nothing to do is no news; every tick starts one.
    if (!forced && totals.deleted == 0 && totals.failed == 0)
        return;
    std::string text = strprintf("Deleted %s (%s)", itemsText(totals.deleted).c_str(), readableSize(totals.bytes).c_str());
    const auto names = passTrashNames();
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? names.size() == 1 ? " from the trash on " : " from the trashes on " : ", ") + names[i];
    if (totals.failed > 0)
        text += strprintf("; %s could not be deleted", itemsText(totals.failed).c_str());
    const std::string summary = !forced ? "Trash items deleted" : stopped ? "Emptying stopped" : "Trash emptied";
    platform_.log->line(summary + ": " + escapeControlCharacters(text));
    if (!outPrefs_->notificationsSwitch() || (!forced && totals.deleted == 0))
        return;
    Notifier* notifier = platform_.notifier;
    platform_.mainLoop->post([notifier, summary, text] { notifier->notify(summary, text); });
}

} // namespace bw
