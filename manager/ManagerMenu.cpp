#include "manager/Manager.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashItemRows.h"
#include "accounting/TrashSnapshot.h"
#include "settings/Preferences.h"
#include "deletion/Shredder.h"
#include "finder/Utility.h"
#include "history/HistoryPanel.h"
#include "infopanel/Volume.h"
#include "privileges/Security.h"
#include "platform/Format.h"
#include "platform/InfoPanelView.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/StatusMenu.h"
#include "platform/Strings.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>

namespace bw {

namespace {

constexpr double kBytesToGigabytes = 1.0 / (1024.0 * 1024.0 * 1024.0);
constexpr int kGraphSlots = 40;
constexpr int kSlotWidth = 5;

// How many of the graph's slots a figure fills. Used and trash are rounded apart, so
// together they may fill one slot more than there are.
int slotsOf(double figure, double capacity)
{
    if (!(capacity > 0.0))
        return 0;
    const double share = static_cast<double>(static_cast<float>(figure / capacity * kGraphSlots)) + 0.5;
    if (!std::isfinite(share))
        return 0;
    return static_cast<int>(std::clamp(share, 0.0, static_cast<double>(kGraphSlots)));
}

// The bar's free pattern in every slot, then the used slots from the left and the trash
// slots after them.
std::vector<PictureStamp> graphStamps(const TrashState& f)
{
    std::vector<PictureStamp> stamps;
    for (int i = 0; i < kGraphSlots; ++i)
        stamps.push_back({"FreePattern.png", 1 + kSlotWidth * i, 1});
    const int used = slotsOf(f.used(), f.capacity);
    for (int i = 0; i < used; ++i)
        stamps.push_back({"UsedPattern.png", 1 + kSlotWidth * i, 1});
    const int trash = slotsOf(f.bytes, f.capacity);
    for (int j = 0; j < trash; ++j)
        stamps.push_back({"TrashPattern.png", 1 + kSlotWidth * used + kSlotWidth * j, 1});
    return stamps;
}

// "Used\t 46.57 GB (50.00%)"; a share too small to show but not nothing ends in " > 0".
// A volume whose capacity reads 0 shows zero figures rather than a division by it.
std::string sizeLine(const char* format, double value, double capacity)
{
    // Sparse or hard-linked trash items count more bytes than they take, which can leave
    // "used" below nothing; no line shows a negative size.
    value = std::max(value, 0.0);
    if (!(capacity > 0.0))
        return strprintf(format, 0.0, 0.0);
    const float percent = static_cast<float>(value / capacity * 100.0);
    const std::string title = strprintf(format, value * kBytesToGigabytes, static_cast<double>(percent));
    // The single-precision percent against 0.01 in double: exactly 0.01 % still reads "> 0".
    if (static_cast<double>(percent) < 0.01 && value > 0.0)
        return strprintf("%s > 0", title.c_str());
    return title;
}

std::string lastAutoDeleteLine(const std::optional<TimePoint>& date)
{
    if (!date)
        return "No auto delete operation.";
    const std::time_t seconds = std::chrono::system_clock::to_time_t(*date);
    std::tm local{};
    localtime_r(&seconds, &local);
    return strprintf("Last auto delete %d.%d.%d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour, local.tm_min);
}

MenuItemState lineItem(std::string title, std::string picture)
{
    MenuItemState state;
    state.title = std::move(title);
    state.picture = std::move(picture);
    return state;
}

MenuItemState enabledIf(bool enabled)
{
    MenuItemState state;
    state.enabled = enabled;
    return state;
}

// What the deletion commands are decided from.
struct CommandSources {
    const Internal& internal;
    const External& external;
    const Shredder& shredder;
    const Utility& utility;
    Strings& strings;
};

MenuItemState commandItem(int tag, const CommandSources& from)
{
    const bool anyTrash = from.internal.trashSize() != 0.0 || from.external.allTrashSize() != 0.0;
    if (tag == kMenuForcedTrash) {
        MenuItemState state = enabledIf(anyTrash && !from.shredder.isPartialShredding());
        const bool stoppable = from.shredder.shredMode() != 0 && !from.shredder.shredBreak();
        state.title = from.strings.localized(state.enabled && stoppable ? "StopEmpty" : "StartEmpty");
        return state;
    }
    // The clipboard is read only while no deletion runs.
    const bool deleting = from.shredder.isShredding() || from.shredder.isPartialShredding();
    if (tag == kMenuDeleteSelects) {
        // Only when the clipboard holds trash items: with nothing copied the command would
        // do nothing a user could see.
        if (deleting || !anyTrash)
            return enabledIf(false);
        const auto copied = from.utility.selectedTrashFiles();
        return enabledIf(copied && !copied->empty());
    }
    return enabledIf(!deleting && anyTrash);
}

// The startup volume's figures, read afresh at every validation.
MenuItemState figureItem(int tag, const TrashState& f)
{
    switch (tag) {
    case kMenuGraph: {
        MenuItemState state = lineItem(strprintf("%6.2f GB", f.capacity * kBytesToGigabytes), "GraphBar.png");
        state.stamps = graphStamps(f);
        return state;
    }
    case kMenuUsed:
        return lineItem(sizeLine("Used\t%6.2f GB (%5.2f%%)", f.used(), f.capacity), "SymbolUsed.png");
    case kMenuTrash:
        return lineItem(sizeLine("Trash\t%6.2f GB (%5.2f%%)", f.bytes, f.capacity), "SymbolTrash.png");
    default:
        return lineItem(sizeLine("Free\t%6.2f GB (%5.2f%%)", f.free, f.capacity), "SymbolEmpty.png");
    }
}

} // namespace

MenuItemState Manager::validateMenuItem(int tag)
{
    switch (tag) {
    case kMenuGraph:
    case kMenuUsed:
    case kMenuTrash:
    case kMenuFree:
        return figureItem(tag, homeTrashFigures(*outInternal_));
    case kMenuForcedTrash:
    case kMenuDeleteSelects:
    case kMenuDeletePanel:
        return commandItem(tag, {*outInternal_, *outExternal_, *outShredder_, *outUtility_, *platform_.strings});
    case kMenuLastAutoDelete: {
        MenuItemState state;
        // No rule of the home volume can ever want an item gone: no automatic deletion will come.
        state.title = outPrefs_->isAutoDeleteOffAt(outInternal_->volumeMountPoint())
                          ? platform_.strings->localized("AutoDeleteOff")
                                                         : lastAutoDeleteLine(outShredder_->lastAutoExecDate());
        return state;
    }
    case kMenuHistory:
        // Headless there is no window to open.
        return enabledIf(outHistory_ && outHistory_->canShow());
    default:
        return MenuItemState{};
    }
}

std::vector<MenuEntry> Manager::menuEntries()
{
    const auto show = [this] { actDummy(); };
    return {
        {kMenuGraph, "", show},
        {kMenuUsed, "", show},
        {kMenuTrash, "", show},
        {kMenuFree, "", show},
        {},
        {kMenuForcedTrash, "StartEmpty", [this] { actForcedTrash(); }},
        {kMenuDeleteSelects, "Delete Copied Trash Items", [this] { actDeleteSelects(); }},
        {kMenuDeletePanel, "Choose Trash Items to Delete\u2026", [this] { actDeletePanel(); }},
        {},
        {kMenuLastAutoDelete, "", show},
        {},
        {kMenuHistory, "History\u2026", [this] { actHistory(); }},
        {kMenuInformation, "Trash Information\u2026", [this] { actDispInformation(); }},
        {kMenuPreferences, "Preferences\u2026", [this] { actPreferences(); }},
        {kMenuCheckNow, "Check Now", [this] { actSizeMonitor(); }},
        {},
        {kMenuQuit, "Quit Brindlewick", [this] { actQuit(); }},
    };
}

void Manager::attachMenu(StatusMenu& menu)
{
    menu.setEntries(menuEntries(), [this](int tag) { return validateMenuItem(tag); });
}

void Manager::attachPanelCommands(InfoPanelView& panel)
{
    // The panel's own buttons empty the trashes and stop it; the panel does not open itself.
    const auto onPanel = [](const MenuEntry& entry) {
        switch (entry.tag) {
        case kMenuSeparator:
        case kMenuGraph:
        case kMenuUsed:
        case kMenuTrash:
        case kMenuFree:
        case kMenuLastAutoDelete:
        case kMenuForcedTrash:
        case kMenuInformation:
            return false;
        default:
            return static_cast<bool>(entry.action);
        }
    };
    std::vector<MenuEntry> commands;
    for (auto& entry : menuEntries())
        if (onPanel(entry))
            commands.push_back(std::move(entry));
    panel.setCommands(std::move(commands), [this](int tag) { return validateMenuItem(tag); });
}

void Manager::actPreferences()
{
    outPrefs_->execPrefs();
}

void Manager::actDispInformation()
{
    outVolume_->dispInformation();
}

void Manager::actHistory()
{
    if (outHistory_)
        outHistory_->showHistory();
}

void Manager::stopForcedTrash()
{
    if (outShredder_->shredMode() != 1)
        return;
    outShredder_->setShredBreak(true);
    outVolume_->clearShredFile();
    if (outInternal_->shredMode())
        outInternal_->setTrashStatus(kCanceling);
    for (const auto& path : outExternal_->volumePaths())
        if (outExternal_->shredModeAtPath(path))
            outExternal_->setTrashStatus(kCanceling, path);
    // The running pass sees the request; the tick only re-arms the timer.
    sizeMonitor();
}

void Manager::actForcedTrash()
{
    if (outShredder_->shredMode() == 1) {
        stopForcedTrash();
        return;
    }
    if (!outShredder_->confirmForcedEmptying(true, outExternal_->volumePaths()))
        return;
    startForcedTrash();
}

void Manager::startForcedTrash(DeletionReason reason)
{
    // The user asks now: a repair refused earlier is asked for again.
    outSecurity_->forgetRefusals();
    outShredder_->setShredMode(1, reason);
    outInternal_->setShredMode(true);
    outExternal_->setAllShredMode(true);
    // The tick starts the pass at once unless a deletion runs.
    sizeMonitor();
}

void Manager::actDeleteSelects()
{
    const auto paths = outUtility_->selectedTrashPaths();
    if (!paths) {
        platform_.log->line("The copied items are not all trash items; nothing is deleted");
        return;
    }
    DeletionList items;
    for (const auto& path : *paths) {
        auto item = outVolume_->fullPathOfTrashFile(posix::lastComponent(path));
        // A name in no trash voids the command. A name that an earlier trash holds too would
        // resolve to that other item, which the user did not copy.
        if (!item || item->path != path) {
            platform_.log->line(strprintf("Copied item %s is not the trash item of its name; nothing is deleted",
                                          path.c_str()));
            return;
        }
        items.push_back(std::move(*item));
    }
    if (!items.empty() && !outShredder_->confirmChosenItems(items))
        return;
    outSecurity_->forgetRefusals();
    outShredder_->partialShred(std::move(items));
}

void Manager::actDeletePanel()
{
    Strings& strings = *platform_.strings;
    TrashItemChooserContent content;
    content.title = strings.localized("DeleteChosenTitle");
    content.prompt = strings.localized("Delete");
    content.message = strings.localized("NoteSelect");
    // Every row's trash counter, by path: an item lowers the books it is counted in.
    std::map<std::string, std::atomic<double>*> counters;
    const auto addTrash = [&](const std::string& trash, const std::string& volume,
                              const std::vector<ItemFolder>& folders, const std::optional<TrashFiles>& table,
                              std::atomic<double>* counter) {
        for (auto& row : trashItemRows(folders, table, strings)) {
            row.trash = trash;
            row.volume = volume;
            counters[row.path] = counter;
            content.rows.push_back(std::move(row));
        }
    };
    addTrash(strings.localized("HomeTrash"), posix::lastComponent(outInternal_->volumeMountPoint()),
             outInternal_->itemFolders(), outInternal_->books().items(), outInternal_->trashSizePointer());
    for (const auto& path : outExternal_->volumePaths()) {
        const std::string volume = posix::lastComponent(path);
        addTrash(volume, volume, outExternal_->itemFoldersAtPath(path), outExternal_->booksAtPath(path)->items(),
                 outExternal_->trashSizePtrAtPath(path));
    }
    for (;;) {
        const auto paths = platform_.itemChooser->runModal(content);
        // A cancelled chooser deletes nothing, and the icon does not flash for it.
        if (!paths || paths->empty())
            return;
        DeletionList items;
        for (const auto& path : *paths) {
            // Only an offered row may reach the shredder: never a trash folder itself,
            // something inside an item, or a path from elsewhere.
            const auto counter = counters.find(path);
            if (counter == counters.end()) {
                platform_.log->line(strprintf("Chosen item %s is not a trash item; nothing is deleted", path.c_str()));
                return;
            }
            items.push_back({path, counter->second});
        }
        if (outShredder_->confirmChosenItems(items)) {
            // Timers keep firing while the chooser is up: a pass that started meanwhile is
            // waited for, and the chosen items are deleted when it ends.
            outSecurity_->forgetRefusals();
            outShredder_->partialShred(std::move(items));
            return;
        }
        // Declined: back to the chooser, with the same items chosen.
        content.chosen = *paths;
    }
}

} // namespace bw
