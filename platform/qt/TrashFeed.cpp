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
// A folder above a trash folder is watched only for folders coming and going in it.
constexpr uint32_t kParentEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR | IN_DONT_FOLLOW;

} // namespace

bool TrashFeed::isTrashFolderEvent(const Watched& parent, uint32_t mask, const char* name)
{
    // A named trash folder counts whatever it is now (one swapped for a link takes a trash
    // away); in a shared folder of per-user folders, any folder is one.
    if (name == nullptr)
        return false;
    return parent.names.count("") != 0 ? (mask & IN_ISDIR) != 0 : parent.names.count(name) != 0;
}

TrashFeed::TrashFeed(Folders folders, Log& log, std::function<void()> changed, int windowMilliseconds,
                     std::string mountTable)
    : folders_(std::move(folders)),
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

void TrashFeed::watch(const Watched& wanted)
{
    const int wd = inotify_add_watch(inotifyFd_, wanted.folder.c_str(), wanted.isParent ? kParentEvents : kTrashEvents);
    if (wd >= 0)
        watches_[wd] = wanted;
}

void TrashFeed::rewatch()
{
    const TrashWatch wanted = folders_();
    std::map<std::string, Watched> byFolder;
    for (const auto& parent : wanted.parents) {
        Watched& watched = byFolder[parent.folder];
        watched.folder = parent.folder;
        watched.isParent = true;
        watched.names.insert(parent.name);
    }
    // A folder that is both holds items: every change in it counts.
    for (const auto& folder : wanted.contents)
        byFolder[folder] = Watched{folder, false, {}};
    for (auto it = watches_.begin(); it != watches_.end();) {
        const auto found = byFolder.find(it->second.folder);
        if (found != byFolder.end() && found->second.isParent == it->second.isParent) {
            it->second.names = found->second.names;
            byFolder.erase(found);
            ++it;
            continue;
        }
        inotify_rm_watch(inotifyFd_, it->first);
        it = watches_.erase(it);
    }
    for (const auto& [folder, watched] : byFolder)
        watch(watched);
}

std::vector<std::string> TrashFeed::watchedFolders() const
{
    std::vector<std::string> folders;
    for (const auto& [wd, watched] : watches_)
        folders.push_back(watched.folder);
    return folders;
}

void TrashFeed::readEvents()
{
    alignas(inotify_event) char buffer[16 * 1024];
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
            // Above a trash, only a trash folder that comes or goes counts.
            const bool fromParent = watched->second.isParent;
            if (fromParent && !isTrashFolderEvent(watched->second, event->mask, event->len ? event->name : nullptr))
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
