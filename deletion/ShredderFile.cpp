#include "deletion/Shredder.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "deletion/ResFileManager.h"
#include "deletion/StepErrors.h"
#include "infopanel/Volume.h"
#include "platform/AlertPresenter.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "platform/VolumeRunner.h"
#include "platform/Workers.h"
#include "platform/posix/FileFlags.h"
#include "platform/posix/Files.h"
#include "platform/posix/ShredOps.h"
#include "platform/posix/TreeWalk.h"
#include "settings/Preferences.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace bw {

namespace {

// Why the folder of the item being shredded by this thread could not be opened: the cause
// of every step that then fails.
thread_local int unreachableFolderError = 0;

// A time-stamp name already taken in the folder is tried again with a fresh stamp.
constexpr int kRenameAttempts = 8;

const char* alertKeyFor(int code, int error)
{
    // A file system mounted on the item or inside it stops whichever step meets it first;
    // the user has to unmount it, whatever the step.
    if (error == EBUSY)
        return "FileBusyError";
    switch (code) {
    case kShredMoveFailed: return "FileMoveError";
    case kShredRemoveFailed: return "FileDeleteError";
    case kShredRenameFailed: return "FileRenameError";
    case kShredWriteFailed: return "FileWriteError";
    case kShredResWriteFailed: return "ResWriteError";
    default: return "TrashError";
    }
}

// The folder that holds `path`, opened for the *at() calls without passing through a link
// below the home folder: a link inside a trash must never lead the shredder to the folder it
// points to. -1 when it cannot be opened so, and then every step on the entry fails as it
// would on a missing entry.
int openParentOf(const std::string& path, const std::string& home, Log& log)
{
    if (!posix::isPlainName(posix::lastComponent(path))) {
        errno = EINVAL;
        return -1;
    }
    const int fd = posix::openFolderWithoutLinks(posix::parentPath(path), home);
    unreachableFolderError = fd < 0 ? errno : 0;
    if (fd < 0)
        stepErrors::note(errno);
    if (fd < 0 && (errno == ELOOP || errno == ENOTDIR || errno == EINVAL))
        log.line(strprintf("%s is reached through a symbolic link or a relative step; it is not touched",
                           path.c_str()));
    return fd;
}

// The errno to show for a step that failed with `error` on an entry of the folder `dirFd`.
int causeOf(int dirFd, int error)
{
    return dirFd < 0 && unreachableFolderError != 0 ? unreachableFolderError : error;
}

// An entry that someone else removed meanwhile is gone, which is what was asked for.
bool isGone(int dirFd, const std::string& name)
{
    struct stat st {};
    return fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
}

} // namespace

void Shredder::initFillData()
{
    fillChar_.fill(0xFF);
    fillData_ = fillChar_;
}

int Shredder::shredFolderOrFile(const std::string& path, std::atomic<double>* fileSize, bool* removed)
{
    const int dirFd = openParentOf(path, platform_.homeDirectory, *platform_.log);
    const int result = shredItemIn(dirFd, path, fileSize, nullptr, removed);
    if (dirFd >= 0)
        close(dirFd);
    return result;
}

int Shredder::shredItemIn(int dirFd, const std::string& path, std::atomic<double>* fileSize, const struct stat* seen,
                          bool* removed)
{
    if (removed)
        *removed = false;
    if (shredBreak_.load())
        return kShredDone;
    const std::string name = posix::lastComponent(path);
    struct stat st {};
    if (seen)
        st = *seen;
    const bool known = dirFd >= 0 && (seen || fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0);
    // Nothing there to withdraw: every step fails as on a missing entry, and says so.
    if (!known)
        return destroyItemAt(dirFd, name, path, fileSize, nullptr, removed, false);

    // A full copy-on-write volume may refuse even a rename (its metadata needs new blocks).
    // Where no byte is to be overwritten, nothing needs hiding first: the item is removed
    // as it is, since a shred must never need free space.
    const bool overwrites = shredderSwitch() && overwriteReaches(dirFd);
    const auto isNoSpace = [](int error) { return error == ENOSPC || error == EDQUOT; };

    // Withdraw: first the description goes aside, so that no client offers the item back.
    const auto folder = itemFolderHolding(path);
    int withdrawError = 0;
    const auto withdrawn = folder ? folder->layout->withdrawDescription(*folder, name, withdrawError)
                                  : std::optional<WithdrawnDescription>();
    if (withdrawError != 0 && !(isNoSpace(withdrawError) && !overwrites))
        return failWith(kShredRenameFailed, path, withdrawError);
    const auto putBack = [&] {
        // Never over a description that a trasher wrote meanwhile for a new item of the name.
        const int error = withdrawn ? posix::renameNoReplace(AT_FDCWD, withdrawn->aside.c_str(), AT_FDCWD,
                                                             withdrawn->description.c_str())
                                    : 0;
        if (error != 0)
            platform_.log->line(strprintf("Could not put back the description of %s, err=%d(%s)", path.c_str(),
                                          error, strerror(error)));
    };
    const auto isFailure = [](int code) { return code != kShredDone && code != kShredNothingLeft; };
    // Then the record of the shred, on disk before any byte is overwritten.
    bool renames = !noRenameSwitch_.load();
    bool keptNameForSpace = false;
    std::string current = renames ? nextStampName() : name;
    const std::string folderPath = posix::parentPath(path);
    posix::ShredRecord record{st.st_dev, st.st_ino, path, posix::joinPath(folderPath, current),
                              withdrawn ? withdrawn->aside : "", withdrawn ? withdrawn->description : ""};
    const bool recorded = overwrites || withdrawn;
    if (recorded)
        if (const int error = journal_.add(record, overwrites))
            platform_.log->line(strprintf("Could not record the shred of %s, err=%d(%s)", path.c_str(), error,
                                          strerror(error)));
    // Then the time-stamp name: what is overwritten is no longer where a client lists it.
    if (renames) {
        int error = posix::renameNoReplace(dirFd, name.c_str(), dirFd, current.c_str());
        if (error == EPERM && posix::clearImmutableAt(dirFd, name.c_str()))
            error = posix::renameNoReplace(dirFd, name.c_str(), dirFd, current.c_str());
        if (error == EEXIST && (error = renameToStampAt(dirFd, name.c_str(), current)) == 0) {
            record.stampPath = posix::joinPath(folderPath, current);
            if (recorded)
                journal_.add(record, overwrites);
        }
        if (error != 0 && isNoSpace(error) && !overwrites) {
            error = 0;
            renames = false;
            keptNameForSpace = true;
            current = name;
            record.stampPath = path;
        }
        if (error != 0) {
            const bool gone = isGone(dirFd, name);
            if (!gone)
                putBack();
            else if (withdrawn)
                unlink(withdrawn->aside.c_str());
            if (recorded)
                journal_.remove(st.st_dev, st.st_ino);
            if (gone)
                return kShredDone; // someone else removed it meanwhile, which is what was asked for
            return failWith(kShredRenameFailed, path, error);
        }
    }

    // Keeping its name, an item to be overwritten still leaves the folder that clients list.
    int workFd = dirFd;
    const auto aside = !renames && !keptNameForSpace && overwrites && folder ? folder->layout->withdrawnFolder(*folder)
                                                                           : std::nullopt;
    if (aside) {
        const int asideFd = posix::openDirectoryNoFollow(*aside);
        if (asideFd >= 0 && posix::renameNoReplace(dirFd, name.c_str(), asideFd, name.c_str()) == 0) {
            workFd = asideFd;
            record.stampPath = posix::joinPath(*aside, name);
            if (recorded)
                journal_.add(record, overwrites);
        } else if (asideFd >= 0) {
            close(asideFd);
        }
    }
    const auto closeWork = [&] {
        if (workFd != dirFd)
            close(workFd);
    };

    bool untouched = false;
    const int result = destroyItemAt(workFd, current, path, fileSize, &st, removed, renames || keptNameForSpace,
                                     &untouched);
    // A folder whose emptying failed before anything in it changed (it could not be opened, a
    // mount point inside) lost nothing: it goes back to its name and its description.
    const bool moved = renames || workFd != dirFd;
    if (isFailure(result) && untouched &&
        (!moved || posix::renameNoReplace(workFd, current.c_str(), dirFd, name.c_str()) == 0)) {
        closeWork();
        putBack();
        if (recorded)
            journal_.remove(st.st_dev, st.st_ino);
        return result;
    }
    // An overwrite interrupted (quitting) or a stop leaves the item withdrawn and recorded: the
    // next deletion finishes it. Otherwise nothing of it is restorable any more, whatever came.
    struct stat left {};
    const bool stays = fstatat(workFd, current.c_str(), &left, AT_SYMLINK_NOFOLLOW) == 0 &&
                       left.st_dev == st.st_dev && left.st_ino == st.st_ino;
    closeWork();
    if (stays && result == kShredDone)
        return result;
    if (withdrawn)
        unlink(withdrawn->aside.c_str());
    if (recorded)
        journal_.remove(st.st_dev, st.st_ino);
    return result;
}

int Shredder::destroyItemAt(int dirFd, const std::string& name, const std::string& path,
                            std::atomic<double>* fileSize, const struct stat* seen, bool* removed, bool renamed,
                            bool* untouched)
{
    if (untouched)
        *untouched = false;
    // A file just seen needs no walk; the overwrite still opens only the very inode seen.
    if (dirFd >= 0 && seen && !S_ISDIR(seen->st_mode))
        return shredEntryAt(dirFd, name.c_str(), path, fileSize, seen, removed, renamed);
    // Inside a renamed folder, entries are shown under the folder's own name.
    const std::string walked = posix::joinPath(posix::parentPath(path), name);
    const auto shown = [&](const std::string& entryPath) {
        return entryPath.compare(0, walked.size(), walked) == 0 ? path + entryPath.substr(walked.size()) : entryPath;
    };
    int result = kShredDone;
    int changed = 0; // entries the shredder may have written, renamed or removed
    posix::WalkCallbacks callbacks;
    // A locked folder would keep its entries: unlock it before emptying it.
    callbacks.beforeFolder = [](const posix::WalkEntry& entry) {
        posix::clearImmutableAt(entry.parentFd, entry.name);
        return posix::WalkAction::Continue;
    };
    callbacks.visit = [&](const posix::WalkEntry& entry) {
        const std::string entryPath = shown(entry.path());
        // A folder that could not be opened cannot be emptied: it fails before its removal.
        if (entry.openError != 0) {
            stepErrors::note(entry.openError);
            platform_.log->line(strprintf("shredFile: %s cannot be opened (error %d); it is not emptied",
                                          entryPath.c_str(), entry.openError));
            result = failWith(kShredRemoveFailed, entryPath, entry.openError);
            return posix::WalkAction::Stop;
        }
        // A folder's own lstat was taken before its content went: it is taken again.
        const bool seenNow = entry.statError == 0 && !entry.isDirectory();
        const bool root = entry.depth == 0;
        result = shredEntryAt(entry.parentFd, entry.name, entryPath, fileSize, seenNow ? &entry.status : nullptr,
                              root ? removed : nullptr, root && renamed);
        // A folder (or link) that failed was not written; a file that failed may have been.
        if (result == kShredDone || (entry.statError == 0 && S_ISREG(entry.status.st_mode)))
            ++changed;
        const bool stop = result != kShredDone || shredBreak_.load() || platform_.workers->quitting();
        return stop ? posix::WalkAction::Stop : posix::WalkAction::Continue;
    };
    const auto walk = posix::walkTree(dirFd, posix::parentPath(path), name, callbacks);
    // A folder swapped or moved away during the walk: what is left stays, as after a failed removal.
    if (walk == posix::WalkResult::Redirected && result == kShredDone)
        result = failWith(kShredRemoveFailed, path, ESTALE);
    if (untouched)
        *untouched = changed == 0;
    return result;
}

void Shredder::finishLeftovers()
{
    {
        std::lock_guard lock(folderMutex_);
        lastFolder_.reset(); // the trash folders may have changed since the last deletion
    }
    const auto volumes = outExternal_->volumePaths();
    for (const auto& record : journal_.leftovers()) {
        if (platform_.workers->quitting())
            return;
        // A leftover on a volume is finished on that volume's own thread: one that does not
        // answer (a shred of it may be stuck there still) holds up no other trash.
        std::string holder;
        for (const auto& volume : volumes)
            if (record.path.rfind(volume + "/", 0) == 0 && volume.size() > holder.size())
                holder = volume;
        if (holder.empty())
            finishLeftover(record);
        else if (outExternal_->isAnsweringAtPath(holder))
            outExternal_->runAtPath(holder, [this, record] { finishLeftover(record); });
    }
}

void Shredder::finishLeftover(const posix::ShredRecord& record)
{
    const auto matches = [&](const std::string& at) {
        const auto st = posix::lstatPath(at);
        return st && st->st_dev == record.device && st->st_ino == record.inode;
    };
    if (matches(record.stampPath)) {
        platform_.log->line(strprintf("Finishing the shred of %s, which an interruption left as %s",
                                      record.path.c_str(), record.stampPath.c_str()));
        // The item lost its name: its description can never be used again.
        if (!record.aside.empty())
            unlink(record.aside.c_str());
        if (shredFolderOrFile(record.stampPath, nullptr) != kShredDone || matches(record.stampPath))
            return; // still there: the record stays for the next deletion
        removeCompanionsOf(record.path);
    } else if (record.stampPath != record.path && matches(record.path)) {
        // Never renamed, so never overwritten: it is whole, and its description comes back.
        platform_.log->line(strprintf("The shred of %s was interrupted before it began; it stays in the trash",
                                      record.path.c_str()));
        if (!record.aside.empty())
            posix::renameNoReplace(AT_FDCWD, record.aside.c_str(), AT_FDCWD, record.description.c_str());
    } else {
        platform_.log->line(strprintf("The shred of %s was interrupted; the item is gone", record.path.c_str()));
    }
    if (!record.aside.empty())
        unlink(record.aside.c_str());
    journal_.remove(record.device, record.inode);
}

std::optional<ItemFolder> Shredder::itemFolderHolding(const std::string& path)
{
    if (!outInternal_ || !outExternal_)
        return std::nullopt;
    const std::string parent = posix::parentPath(path);
    // A pass takes item after item from one folder: the last answer is kept for the next.
    {
        std::lock_guard lock(folderMutex_);
        if (lastFolder_ && lastFolder_->first == parent)
            return lastFolder_->second;
    }
    std::optional<ItemFolder> found;
    for (auto& folder : outInternal_->itemFolders())
        if (!found && folder.path == parent)
            found = folder;
    for (const auto& volume : outExternal_->volumePaths())
        if (!found && pathBelow(volume, path))
            for (auto& folder : outExternal_->itemFoldersAtPath(volume))
                if (!found && folder.path == parent)
                    found = folder;
    std::lock_guard lock(folderMutex_);
    lastFolder_.emplace(parent, found);
    return found;
}

int Shredder::shredFile(const std::string& path, std::atomic<double>* fileSize)
{
    const int dirFd = openParentOf(path, platform_.homeDirectory, *platform_.log);
    const int result = shredEntryAt(dirFd, posix::lastComponent(path).c_str(), path, fileSize);
    if (dirFd >= 0)
        close(dirFd);
    return result;
}

int Shredder::shredEntryAt(int dirFd, const char* name, const std::string& path, std::atomic<double>* fileSize,
                           const struct stat* seen, bool* removed, bool renamedAlready)
{
    logVerbose(*platform_.log, *platform_.keys, strprintf("shredFile:%s", path.c_str()));
    if (shredBreak_.load())
        return kShredDone;
    // A locked entry can be neither written, renamed nor removed, so it is unlocked first.
    // A file just seen that is only to be renamed and removed is spared that look: a refusal
    // (EPERM) has it unlocked, and the step is tried once more.
    const bool testMode = outPrefs_ && outPrefs_->testModeSwitch();
    const bool unlockWhenRefused = seen && !S_ISDIR(seen->st_mode) && !shredderSwitch() && !testMode;
    if (!unlockWhenRefused)
        posix::clearImmutableAt(dirFd, name);
    if (outVolume_)
        outVolume_->dispShredFileWithPath(path);

    struct stat st {};
    if (seen)
        st = *seen;
    const bool known = seen || fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
    const double size = known ? static_cast<double>(st.st_size) : 0.0;
    if (known && !S_ISDIR(st.st_mode) && shredderSwitch() && !overwriteEntryAt(dirFd, name, st, path)) {
        // Part of its data is still there: removing it now would pass it off as shredded.
        // It stays under its name for a later pass; like any stop, the result is 0.
        platform_.log->line(strprintf("shredFile: overwrite of %s interrupted; it stays in the trash", path.c_str()));
        return kShredDone;
    }

    std::string current = name;
    const auto unlockedRetry = [&](const auto& step) {
        const int error = step();
        return error == EPERM && unlockWhenRefused && posix::clearImmutableAt(dirFd, current.c_str()) ? step() : error;
    };
    int renamed = noRenameSwitch_.load() || renamedAlready
                            ? 0
                            : unlockedRetry([&] { return renameToStampAt(dirFd, name, current); });
    stepErrors::note(renamed);
    // Without space for a rename, an entry whose content was not overwritten goes as it is.
    const bool noSpace = renamed == ENOSPC || renamed == EDQUOT;
    if (renamed != 0 && !(noSpace && !(shredderSwitch() && overwriteReaches(dirFd))) && !isGone(dirFd, current))
        return failWith(kShredRenameFailed, path, causeOf(dirFd, renamed));
    if (noSpace && !isGone(dirFd, current))
        renamed = 0;
    if (renamed == 0 && testMode) {
        const int moved = moveIntoDumpFolder(dirFd, current);
        if (moved != 0 && !isGone(dirFd, current))
            return failWith(kShredMoveFailed, path, causeOf(dirFd, moved));
    } else if (renamed == 0) {
        const int error = unlockedRetry([&] { return posix::removeEntryAt(dirFd, current.c_str()); });
        const bool removedHere = error == 0;
        stepErrors::note(error);
        if (!removedHere && !isGone(dirFd, current))
            return failWith(kShredRemoveFailed, path, causeOf(dirFd, error));
        if (removed)
            *removed = removedHere;
    }
    if (fileSize)
        fileSize->fetch_sub(size);
    return kShredDone;
}

bool Shredder::overwriteEntryAt(int dirFd, const char* name, const struct stat& seen, const std::string& path)
{
    // Links are never written through, and a file with several hard links is still in use
    // elsewhere: neither its data nor its fork is touched.
    const int fd = posix::openForOverwrite(dirFd, name, seen);
    if (fd < 0) {
        if (S_ISREG(seen.st_mode) && seen.st_nlink == 1)
            platform_.log->line(strprintf("shredFile: %s cannot be opened for writing; it is removed without overwriting",
                                          path.c_str()));
        return true;
    }
    struct stat now {};
    const uint64_t size = fstat(fd, &now) == 0 ? static_cast<uint64_t>(now.st_size) : 0;
    // Where the 0xFF would land in new blocks, neither the data nor the fork is written.
    if (skipsOverwriteOn(fd, now.st_dev)) {
        close(fd);
        return true;
    }
    if (size != 0) {
        // Quitting does not wait for the rest of a large file.
        const auto quitting = [this] {
            VolumeRunner::noteProgress(); // a long overwrite goes on: its volume answers
            return platform_.workers->quitting();
        };
        const int error = posix::overwriteWithFill(fd, size, quitting);
        if (error == ECANCELED) {
            close(fd);
            return false;
        }
        // A write error is not a reason to keep the item: its space is still wanted.
        if (error != 0)
            platform_.log->line(strprintf("shredFile: overwrite error %d(%s)", error, path.c_str()));
    }
    if (outResFile_) {
        if (outResFile_->openForkOn(fd) != 0 && outResFile_->forkSize() != 0) {
            const uint64_t length = posix::filledLength(static_cast<uint64_t>(outResFile_->forkSize()));
            std::vector<unsigned char> fill;
            fill.reserve(length);
            for (uint64_t done = 0; done < length; done += fillData_.size())
                fill.insert(fill.end(), fillData_.begin(), fillData_.end());
            outResFile_->writeData(fill.data(), fill.size());
        }
        outResFile_->closeFork();
    }
    close(fd);
    return true;
}

std::string Shredder::nextStampName()
{
    const double now = secondsSinceReferenceDate(platform_.clock->now());
    double last = lastStamp_.load();
    double stamp = now;
    do {
        // Two names within the same microsecond would be the same name.
        stamp = now > last + 0.0000005 ? now : last + 0.000001;
    } while (!lastStamp_.compare_exchange_weak(last, stamp));
    return strprintf("%f", stamp);
}

int Shredder::renameToStampAt(int dirFd, const char* name, std::string& newName)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < kRenameAttempts && error == EEXIST; ++attempt) {
        const std::string stamp = nextStampName();
        error = posix::renameNoReplace(dirFd, name, dirFd, stamp.c_str());
        if (error == 0)
            newName = stamp;
    }
    return error;
}

int Shredder::moveIntoDumpFolder(int dirFd, const std::string& name)
{
    const std::string desktop = posix::joinPath(platform_.homeDirectory, "Desktop");
    const std::string dump = posix::joinPath(desktop, "Sapperlode");
    // Many Linux homes have no Desktop folder; that it exists or cannot be made shows in the move.
    mkdir(desktop.c_str(), 0777);
    mkdir(dump.c_str(), 0777);
    const int dumpFd = posix::openDirectoryNoFollow(dump);
    if (dumpFd < 0)
        return errno;
    const int error = posix::moveEntry(dirFd, name.c_str(), dumpFd, name.c_str());
    close(dumpFd);
    return error;
}

int Shredder::failWith(int code, const std::string& path, int error)
{
    // An item that failed before and fails again is no news: the pass tells of it itself.
    if (stepErrors::quiet())
        return code;
    platform_.log->line(strprintf("err=%d(%s)", code, path.c_str()));
    // Out of descriptors or memory: the item is tried again at the next pass, unasked.
    if (!stepErrors::transient())
        alertWithError(code, path, error);
    return code;
}

bool Shredder::overwriteReaches(int fd)
{
    return posix::overwriteReaches(fd);
}

bool Shredder::skipsOverwriteOn(int fd, dev_t device)
{
    if (overwriteReaches(fd))
        return false;
    std::lock_guard lock(skippedMutex_);
    if (overwriteSkipped_.insert(device).second)
        platform_.log->line(strprintf("shredFile: the volume of device %u:%u keeps old blocks when a file is "
                                      "overwritten (copy-on-write); its items are removed without overwriting",
                                      major(device), minor(device)));
    return true;
}

void Shredder::alertWithError(int code, const std::string& path, int error)
{
    Strings& strings = *platform_.strings;
    // Put together piece by piece: a "%" in the path is shown as it stands. A control
    // character in it is shown escaped, so a name cannot add lines of its own to the text.
    // The cause is the failing step's own: a refused rename is often a question of ownership.
    AlertContent alert;
    alert.title = strings.localized("TrashError");
    // A mount is no question of permissions: the advice is to unmount it.
    const char* info = error == EBUSY ? "TrashBusyInfo" : "TrashErrorInfo";
    alert.text = "Error: " + strings.localized(alertKeyFor(code, error)) +
                 (error != 0 ? "\n\nCause: " + std::string(strerror(error)) : std::string()) +
                 "\n\nFile: " + escapeControlCharacters(path) + "\n\nInfo: " + strings.localized(info);
    alert.button = strings.localized("Understand");
    if (platform_.alerts)
        platform_.alerts->runModal(alert);
    else
        platform_.log->line(alert.title + ": " + alert.text);
}

void Shredder::removeCompanionsOf(const std::string& path)
{
    if (posix::lstatPath(path))
        return; // still there: what tells of it stays
    std::vector<ItemFolder> folders = outInternal_->itemFolders();
    for (const auto& volume : outExternal_->volumePaths())
        for (auto& folder : outExternal_->itemFoldersAtPath(volume))
            folders.push_back(std::move(folder));
    for (const auto& folder : folders)
        if (folder.path == posix::parentPath(path))
            return folder.layout->removeCompanions(folder, posix::lastComponent(path), *platform_.log);
}

} // namespace bw
