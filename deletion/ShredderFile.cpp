#include "deletion/Shredder.h"

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

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace bw {

namespace {

// A time-stamp name already taken in the folder is tried again with a fresh stamp.
constexpr int kRenameAttempts = 8;

const char* alertKeyFor(int code)
{
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
    if (fd < 0)
        stepErrors::note(errno);
    if (fd < 0 && (errno == ELOOP || errno == ENOTDIR || errno == EINVAL))
        log.line(strprintf("%s is reached through a symbolic link or a relative step; it is not touched",
                           path.c_str()));
    return fd;
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
    // A file just seen needs no walk; the overwrite still opens only the very inode seen.
    if (dirFd >= 0 && seen && !S_ISDIR(seen->st_mode))
        return shredEntryAt(dirFd, posix::lastComponent(path).c_str(), path, fileSize, seen, removed);
    int result = kShredDone;
    posix::WalkCallbacks callbacks;
    // A locked folder would keep its entries: unlock it before emptying it.
    callbacks.beforeFolder = [](const posix::WalkEntry& entry) {
        posix::clearImmutableAt(entry.parentFd, entry.name);
        return posix::WalkAction::Continue;
    };
    callbacks.visit = [&](const posix::WalkEntry& entry) {
        // A folder that could not be opened cannot be emptied: it fails before its rename,
        // so that it stays under its own name.
        if (entry.openError != 0) {
            stepErrors::note(entry.openError);
            const std::string path = entry.path();
            platform_.log->line(strprintf("shredFile: %s cannot be opened (error %d); it is not emptied",
                                          path.c_str(), entry.openError));
            result = failWith(kShredRemoveFailed, path);
            return posix::WalkAction::Stop;
        }
        // A folder's own lstat was taken before its content went: it is taken again.
        const bool seenNow = entry.statError == 0 && !entry.isDirectory();
        result = shredEntryAt(entry.parentFd, entry.name, entry.path(), fileSize, seenNow ? &entry.status : nullptr,
                              entry.depth == 0 ? removed : nullptr);
        const bool stop = result != kShredDone || shredBreak_.load() || platform_.workers->quitting();
        return stop ? posix::WalkAction::Stop : posix::WalkAction::Continue;
    };
    const auto walk = posix::walkTree(dirFd, posix::parentPath(path), posix::lastComponent(path), callbacks);
    // A folder swapped or moved away during the walk: what is left stays, as after a failed removal.
    if (walk == posix::WalkResult::Redirected && result == kShredDone)
        result = failWith(kShredRemoveFailed, path);
    return result;
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
                           const struct stat* seen, bool* removed)
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
    const int renamed =
        noRenameSwitch_.load() ? 0 : unlockedRetry([&] { return renameToStampAt(dirFd, name, current); });
    stepErrors::note(renamed);
    if (renamed != 0 && !isGone(dirFd, current))
        return failWith(kShredRenameFailed, path);
    if (renamed == 0 && testMode) {
        if (moveIntoDumpFolder(dirFd, current) != 0 && !isGone(dirFd, current))
            return failWith(kShredMoveFailed, path);
    } else if (renamed == 0) {
        const int removeError = unlockedRetry([&] { return posix::removeEntryAt(dirFd, current.c_str()); });
        stepErrors::note(removeError);
        const bool removedHere = removeError == 0;
        if (!removedHere && !isGone(dirFd, current))
            return failWith(kShredRemoveFailed, path);
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

int Shredder::failWith(int code, const std::string& path)
{
    // An item that failed before and fails again is no news: the pass tells of it itself.
    if (stepErrors::quiet())
        return code;
    platform_.log->line(strprintf("err=%d(%s)", code, path.c_str()));
    // Out of descriptors or memory: the item is tried again at the next pass, unasked.
    if (!stepErrors::transient())
        alertWithError(code, path);
    return code;
}

void Shredder::alertWithError(int code, const std::string& path)
{
    Strings& strings = *platform_.strings;
    // Put together piece by piece: a "%" in the path is shown as it stands. A control
    // character in it is shown escaped, so a name cannot add lines of its own to the text.
    AlertContent alert;
    alert.title = strings.localized("TrashError");
    alert.text = "Error:" + strings.localized(alertKeyFor(code)) + "\n\nFile:" + escapeControlCharacters(path) +
                 "\n\nInfo:" + strings.localized("TrashErrorInfo");
    alert.button = strings.localized("Understand");
    if (platform_.alerts)
        platform_.alerts->runModal(alert);
    else
        platform_.log->line(alert.title + ": " + alert.text);
}

} // namespace bw
