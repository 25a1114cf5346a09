#include "platform/qt/TrashFeed.h"

#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/posix/Files.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::qt {

namespace {

// What changes the root items of a trash, or the trash folder itself.
constexpr uint32_t kTrashEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                  IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
// The home folder is watched only for its ".Trash" coming and going.
constexpr uint32_t kParentEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR | IN_DONT_FOLLOW;

// The per-user folders inside a ".Trashes".
std::vector<std::string> subfolders(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& name : posix::listRealDirectory(folder))
        if (posix::isRealFolder(posix::joinPath(folder, name)))
            found.push_back(posix::joinPath(folder, name));
    return found;
}

} // namespace

TrashFeed::TrashFeed(std::string homeTrash, TrashPaths volumeTrashes, Log& log, std::function<void()> changed,
                     int windowMilliseconds, std::string mountTable)
    : homeTrash_(std::move(homeTrash)),
      homeFolder_(posix::parentPath(homeTrash_)),
      volumeTrashes_(std::move(volumeTrashes)),
      log_(log),
      changed_(std::move(changed)),
      mountTable_(std::move(mountTable))
{
    window_.setSingleShot(true);
    window_.setInterval(windowMilliseconds);
    connect(&window_, &QTimer::timeout, this, &TrashFeed::deliver);
}

TrashFeed::~TrashFeed()
{
    delete inotifyNotifier_;
    delete mountsNotifier_;
    if (inotifyFd_ >= 0)
        close(inotifyFd_);
    if (mountsFd_ >= 0)
        close(mountsFd_);
}

bool TrashFeed::start()
{
    inotifyFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotifyFd_ < 0) {
        log_.line(strprintf("Cannot watch the trash folders, err=%d(%s); the monitor timer watches alone", errno,
                            strerror(errno)));
        return false;
    }
    inotifyNotifier_ = new QSocketNotifier(inotifyFd_, QSocketNotifier::Read);
    connect(inotifyNotifier_, &QSocketNotifier::activated, this, &TrashFeed::readEvents);

    // The mount table signals a change as an exceptional condition (POLLPRI) on its file.
    mountsFd_ = mountTable_.empty() ? -1 : open(mountTable_.c_str(), O_RDONLY | O_CLOEXEC);
    if (mountsFd_ >= 0) {
        mountsNotifier_ = new QSocketNotifier(mountsFd_, QSocketNotifier::Exception);
        connect(mountsNotifier_, &QSocketNotifier::activated, this, &TrashFeed::noteChange);
    } else if (!mountTable_.empty()) {
        log_.line(strprintf("Cannot watch %s, err=%d(%s); mounted volumes are found at the monitor tick",
                            mountTable_.c_str(), errno, strerror(errno)));
    }
    rewatch();
    return true;
}

std::vector<std::string> TrashFeed::wantedFolders() const
{
    std::vector<std::string> folders;
    if (posix::isRealFolder(homeTrash_))
        folders.push_back(homeTrash_);
    for (const auto& trash : volumeTrashes_()) {
        if (!posix::isRealFolder(trash))
            continue;
        folders.push_back(trash);
        if (posix::lastComponent(trash) == ".Trashes")
            for (auto& perUser : subfolders(trash))
                folders.push_back(std::move(perUser));
    }
    return folders;
}

void TrashFeed::watch(const std::string& folder, uint32_t mask)
{
    const int wd = inotify_add_watch(inotifyFd_, folder.c_str(), mask);
    if (wd >= 0)
        watches_[wd] = folder;
}

void TrashFeed::rewatch()
{
    std::set<std::string> wanted;
    for (auto& folder : wantedFolders())
        wanted.insert(std::move(folder));
    for (auto it = watches_.begin(); it != watches_.end();) {
        const bool keep = it->second == homeFolder_ || wanted.erase(it->second) > 0;
        if (keep) {
            ++it;
            continue;
        }
        inotify_rm_watch(inotifyFd_, it->first);
        it = watches_.erase(it);
    }
    if (std::none_of(watches_.begin(), watches_.end(), [&](const auto& w) { return w.second == homeFolder_; }))
        watch(homeFolder_, kParentEvents);
    for (const auto& folder : wanted)
        watch(folder, kTrashEvents);
}

std::vector<std::string> TrashFeed::watchedFolders() const
{
    std::vector<std::string> folders;
    for (const auto& [wd, folder] : watches_)
        folders.push_back(folder);
    return folders;
}

void TrashFeed::readEvents()
{
    alignas(inotify_event) char buffer[16 * 1024];
    const std::string homeTrashName = posix::lastComponent(homeTrash_);
    bool change = false;
    bool structure = false;
    for (;;) {
        const ssize_t n = read(inotifyFd_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto watched = watches_.find(event->wd);
            if (event->mask & IN_IGNORED) {
                if (watched != watches_.end())
                    watches_.erase(watched);
                structure = true;
                continue;
            }
            if (watched == watches_.end())
                continue;
            const bool fromParent = watched->second == homeFolder_;
            if (fromParent && (event->len == 0 || homeTrashName != event->name))
                continue;
            change = true;
            // A trash appeared or went, or a per-user folder did: the watches follow at once.
            structure = structure || fromParent || (event->mask & (IN_ISDIR | IN_DELETE_SELF | IN_MOVE_SELF));
        }
    }
    if (structure)
        rewatch();
    if (change)
        noteChange();
}

void TrashFeed::noteChange()
{
    if (!window_.isActive())
        window_.start();
}

void TrashFeed::deliver()
{
    rewatch();
    changed_();
}

} // namespace bw::qt
