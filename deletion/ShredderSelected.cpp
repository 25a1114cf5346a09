#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "manager/Manager.h"
#include "infopanel/Volume.h"
#include "platform/AlertPresenter.h"
#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Platform.h"
#include "platform/StatusItem.h"
#include "platform/Workers.h"
#include "platform/posix/Files.h"
#include "settings/SettingsKeys.h"

#include "accounting/External.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

namespace {

constexpr Seconds kInvisibleTime{0.5};
constexpr Seconds kVisibleTime{1.0};
const char* const kInvisiblePicture = "InvisibleTrash.png";
const char* const kShreddingToolTip = "Shredding trash files";
// How often chosen items that wait for a running deletion look whether it has ended.
constexpr Seconds kGuardPoll{0.2};

// One period of the flashing: the invisible picture, then the icon of the current state.
// The normal icon always comes back, so the tray never keeps the invisible picture.
void flashOnce(const Platform& platform, Manager& manager)
{
    if (StatusItem* item = manager.statusItem())
        platform.mainLoop->post([item] { item->setImage(kInvisiblePicture); });
    platform.clock->sleepFor(kInvisibleTime);
    manager.setMenuIcon();
    if (!platform.workers->quitting())
        platform.clock->sleepFor(kVisibleTime);
}

} // namespace

bool Shredder::confirmShredding(int items, double bytes)
{
    DefaultsStore& defaults = *platform_.defaults;
    if (!defaults.boolForKey(keys::ConfirmShredding.name))
        return true;
    ConfirmContent question;
    question.title = items == 1 ? "Shred 1 trash item?" : strprintf("Shred %d trash items?", items);
    question.text = strprintf("%s will be overwritten and removed. This cannot be undone.",
                              byteCountText(bytes).c_str());
    question.acceptButton = "Shred";
    question.suppressionText = "Do not ask again";
    const ConfirmAnswer answer = platform_.alerts->confirm(question);
    // "Do not ask again" counts only with a yes: a cancelled question is asked next time too.
    if (answer.accepted && answer.suppress) {
        defaults.setBool(keys::ConfirmShredding.name, false);
        defaults.synchronize();
    }
    return answer.accepted;
}

RootItemCount Shredder::countRootItems(bool home, const std::vector<std::string>& volumes) const
{
    std::vector<ItemFolder> folders;
    if (home)
        folders = outInternal_->itemFolders();
    for (const auto& volume : volumes)
        for (auto& folder : outExternal_->itemFoldersAtPath(volume))
            folders.push_back(std::move(folder));
    RootItemCount count;
    for (const auto& folder : folders) {
        const int folderFd = posix::openDirectoryNoFollow(folder.path);
        if (folderFd < 0)
            continue;
        for (const auto& name : posix::listDirectoryAt(folderFd)) {
            struct stat st {};
            if (fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
                !count.ids.insert({st.st_dev, st.st_ino}).second)
                continue;
            ++count.items;
            count.bytes += posix::measuredSize(folderFd, name.c_str());
        }
        close(folderFd);
    }
    return count;
}

void Shredder::setAgreedItems(std::optional<ItemIds> ids)
{
    std::lock_guard lock(agreedMutex_);
    agreedItems_ = std::move(ids);
}

bool Shredder::isAgreedItem(const struct stat& seen) const
{
    if (shredMode_.load() != 1)
        return true;
    std::lock_guard lock(agreedMutex_);
    return !agreedItems_ || agreedItems_->count({seen.st_dev, seen.st_ino}) != 0;
}

bool Shredder::confirmForcedEmptying(bool home, const std::vector<std::string>& volumes)
{
    if (!platform_.defaults->boolForKey(keys::ConfirmShredding.name)) {
        setAgreedItems(std::nullopt); // the user asked not to be asked: whatever is there goes
        return true;
    }
    RootItemCount count = countRootItems(home, volumes);
    if (!confirmShredding(count.items, count.bytes))
        return false;
    setAgreedItems(std::move(count.ids));
    return true;
}

bool Shredder::confirmChosenItems(DeletionList& items)
{
    double bytes = 0.0;
    for (auto& item : items) {
        const auto st = posix::lstatPath(item.path);
        if (!st)
            continue;
        item.device = st->st_dev;
        item.inode = st->st_ino;
        bytes += posix::measuredSize(item.path);
    }
    return confirmShredding(static_cast<int>(items.size()), bytes);
}

void Shredder::partialShred(DeletionList items)
{
    // One deletion at a time: an automatic pass holds the same guard from its start, also
    // while it still measures and before it shows as shredding.
    bool expected = false;
    if (passGuard_.compare_exchange_strong(expected, true)) {
        // Raised before the worker runs, so that a monitor tick or a menu opening in between
        // already sees the deletion and starts no other.
        pertialShredding_.store(true);
        platform_.workers->start([this, items = std::move(items)] {
            partialShredThread(items);
            passGuard_.store(false);
        });
        return;
    }
    // A pass (or another list) started while the user was choosing: the choice is kept and
    // deleted as soon as that deletion ends. Meanwhile no new pass starts before it.
    platform_.log->line("A deletion is running; the chosen items are deleted as soon as it ends");
    ++chosenWaiting_;
    platform_.workers->start([this, items = std::move(items)] {
        bool taken = false;
        while (!platform_.workers->quitting()) {
            bool free = false;
            if ((taken = passGuard_.compare_exchange_strong(free, true)))
                break;
            platform_.clock->sleepFor(kGuardPoll);
        }
        if (taken)
            pertialShredding_.store(true);
        --chosenWaiting_;
        if (!taken) {
            platform_.log->line("Quitting: the chosen items stay in the trash");
            return;
        }
        partialShredThread(items);
        passGuard_.store(false);
    });
}

void Shredder::partialShredThread(const DeletionList& items)
{
    pertialShredding_.store(true);
    finishLeftovers();
    outInternal_->setTrashStatus(kDeleting);
    outManager_->setIconToolTip(kShreddingToolTip);
    if (!iconFlashing_.load())
        startIconFlashing();
    for (const auto& item : items) {
        // Quitting leaves the remaining items in the trash.
        if (platform_.workers->quitting())
            break;
        // Another item took the chosen name while the question waited: it was not agreed to.
        if (item.device != 0 || item.inode != 0) {
            const auto st = posix::lstatPath(item.path);
            if (!st || st->st_dev != item.device || st->st_ino != item.inode) {
                platform_.log->line(strprintf("%s is no longer the item that was chosen; it stays", item.path.c_str()));
                continue;
            }
        }
        // A failure has been logged and shown by the shredder already; the list goes on.
        shredChosen(item);
    }
    pertialShredding_.store(false);
    stopIconFlashing();
    outVolume_->clearShredFile();
    outInternal_->setTrashStatus(kStandingBy);
    // The icon and tool tip of the state the deletion left: an emptied trash says so.
    outManager_->setMenuIcon();
}

std::optional<Shredder::TrashPlace> Shredder::trashPlaceOf(const std::string& path, std::atomic<double>* counter)
{
    const std::string parent = posix::parentPath(path);
    const auto in = [&parent](const std::vector<ItemFolder>& folders) -> std::optional<ItemFolder> {
        for (const auto& folder : folders)
            if (folder.path == parent)
                return folder;
        return std::nullopt;
    };
    // The counter the item was chosen with names its trash first; its folder decides.
    if (counter == outInternal_->trashSizePointer() || !counter)
        if (auto folder = in(outInternal_->itemFolders()))
            return TrashPlace{std::move(*folder), outInternal_->volumeName(), {}};
    for (const auto& volume : outExternal_->volumePaths())
        if (auto folder = in(outExternal_->itemFoldersAtPath(volume)))
            return TrashPlace{std::move(*folder), posix::lastComponent(volume), volume};
    if (auto folder = in(outInternal_->itemFolders()))
        return TrashPlace{std::move(*folder), outInternal_->volumeName(), {}};
    return std::nullopt;
}

void Shredder::shredChosen(const DeletionItem& item)
{
    const auto place = trashPlaceOf(item.path, item.counter);
    const std::string name = posix::lastComponent(item.path);
    DeletionEvent event;
    event.path = item.path;
    event.originalLocation = item.path;
    event.reason = DeletionReason::ChosenItems;
    if (place) {
        event.trash = place->trash;
        event.volumePath = place->volumePath;
        // Read before the item goes: its description goes with it.
        if (auto original = place->folder.layout->originalLocation(place->folder, name))
            event.originalLocation = std::move(*original);
        event.trashedOn = place->folder.layout->itemDates(place->folder, {name}).front();
    }
    const double before = item.counter ? item.counter->load() : 0.0;
    bool removed = false;
    const int result = shredFolderOrFile(item.path, item.counter, &removed);
    const bool gone = result == kShredDone && (removed || !posix::lstatPath(item.path));
    if (gone && place)
        place->folder.layout->removeCompanions(place->folder, name, *platform_.log);
    // A stop or a quit that left the item half deleted tells nothing.
    if (!gone && result == kShredDone)
        return;
    event.when = platform_.clock->now();
    event.bytes = std::max(0.0, before - (item.counter ? item.counter->load() : 0.0));
    event.deleted = gone;
    event.failure = gone ? std::string() : failureText(result);
    tellDeletion(event, false);
}

void Shredder::startIconFlashing()
{
    iconFlashing_.store(true);
    // A flashing thread still in its loop carries on; a second one would interleave its
    // pictures with the first.
    if (!flashThreadAlive_.exchange(true))
        platform_.workers->start([this] { iconFlashThread(); });
}

void Shredder::stopIconFlashing()
{
    iconFlashing_.store(false);
}

void Shredder::iconFlashThread()
{
    const auto keepFlashing = [this] { return iconFlashing_.load() && !platform_.workers->quitting(); };
    do {
        while (keepFlashing())
            flashOnce(platform_, *outManager_);
        flashThreadAlive_.store(false);
        // A start that came after the last test of the flag found this thread alive and
        // started none: carry on for it, unless a newer thread took over meanwhile.
    } while (keepFlashing() && !flashThreadAlive_.exchange(true));
}

} // namespace bw
