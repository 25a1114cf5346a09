#include "platform/posix/TreeWalk.h"

#include "platform/VolumeRunner.h"
#include "platform/posix/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace bw::posix {

namespace {

// Deeper folders than this have their descriptors closed and reopened through ".." on
// the way back up, so a tree 10,000 folders deep needs no more descriptors than this.
constexpr size_t kMaxOpenFolders = 64;

struct Frame {
    int fd = -1;
    std::string name; // this folder's name in its parent
    struct stat status {};
    std::vector<std::string> names;
    size_t next = 0;
    size_t folderLength = 0; // length of the parent's path within the path buffer
};

class Walker {
public:
    Walker(int rootParentFd, const std::string& folder, const WalkCallbacks& callbacks)
        : rootParentFd_(rootParentFd), path_(folder), callbacks_(callbacks)
    {
    }
    ~Walker()
    {
        for (auto& frame : frames_)
            if (frame.fd >= 0)
                close(frame.fd);
    }

    WalkResult run(const std::string& name);
    WalkResult runContent(int folderFd, const struct stat& status, const std::string& name);

private:
    int parentFdOf(size_t depth) const { return depth == 0 ? rootParentFd_ : frames_[depth - 1].fd; }
    std::string_view folderOf(size_t depth) const
    {
        return std::string_view(path_).substr(0, depth == 0 ? rootFolderLength_ : frameFolderEnd(depth - 1));
    }
    size_t frameFolderEnd(size_t index) const;
    WalkResult handle(int parentFd, const std::string& name, int depth);
    WalkResult enter(int parentFd, const std::string& name, const struct stat& st, int depth);
    void push(int fd, const std::string& name, const struct stat& st, std::string_view folder);
    WalkResult loop(WalkResult result);
    WalkResult leaveTop();
    bool reopenParentOfTop();
    void limitOpenDescriptors();

    int rootParentFd_;
    std::string path_;
    size_t rootFolderLength_ = 0;
    const WalkCallbacks& callbacks_;
    std::vector<Frame> frames_;
    dev_t rootDev_ = 0;
    bool rootDevKnown_ = false;
    bool contentOnly_ = false; // the bottom frame is a folder whose own visit is not ours
};

size_t Walker::frameFolderEnd(size_t index) const
{
    const Frame& f = frames_[index];
    // The folder's own path is its parent's path, a separator, and its name.
    const size_t sep = (f.folderLength == 0 || path_[f.folderLength - 1] == '/') ? 0 : 1;
    return f.folderLength + sep + f.name.size();
}

WalkResult Walker::run(const std::string& name)
{
    rootFolderLength_ = path_.size();
    return loop(handle(rootParentFd_, name, 0));
}

WalkResult Walker::runContent(int folderFd, const struct stat& status, const std::string& name)
{
    rootFolderLength_ = path_.size();
    rootDev_ = status.st_dev;
    rootDevKnown_ = true;
    contentOnly_ = true;
    push(folderFd, name, status, std::string_view(path_).substr(0, rootFolderLength_));
    return loop(WalkResult::Completed);
}

WalkResult Walker::loop(WalkResult result)
{
    while (result == WalkResult::Completed && !frames_.empty()) {
        Frame& top = frames_.back();
        if (top.next < top.names.size()) {
            const std::string child = std::move(top.names[top.next++]);
            result = handle(top.fd, child, static_cast<int>(frames_.size()));
        } else {
            result = leaveTop();
        }
    }
    return result;
}

WalkResult Walker::handle(int parentFd, const std::string& name, int depth)
{
    // Each entry reached is a sign that the volume answers (a long measurement or deletion).
    VolumeRunner::noteProgress();
    struct stat st {};
    int statError = 0;
    if (fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        statError = errno;
        std::memset(&st, 0, sizeof st);
    }
    if (depth == 0 && statError == 0) {
        rootDev_ = st.st_dev;
        rootDevKnown_ = true;
    }
    if (statError == 0 && S_ISDIR(st.st_mode))
        return enter(parentFd, name, st, depth);

    const WalkEntry entry{parentFd, name.c_str(), folderOf(static_cast<size_t>(depth)), st, statError, 0, depth};
    return callbacks_.visit && callbacks_.visit(entry) == WalkAction::Stop ? WalkResult::Stopped
                                                                            : WalkResult::Completed;
}

WalkResult Walker::enter(int parentFd, const std::string& name, const struct stat& st, int depth)
{
    const std::string_view folder = folderOf(static_cast<size_t>(depth));
    WalkEntry entry{parentFd, name.c_str(), folder, st, 0, 0, depth};
    WalkAction action = WalkAction::Continue;
    if (callbacks_.beforeFolder)
        action = callbacks_.beforeFolder(entry);
    if (action == WalkAction::Stop)
        return WalkResult::Stopped;

    const bool otherFileSystem = rootDevKnown_ && st.st_dev != rootDev_;
    int fd = -1;
    if (action == WalkAction::Continue && !otherFileSystem) {
        fd = openSameFileAt(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY, st);
        if (fd < 0 && errno == ESTALE)
            return WalkResult::Redirected; // swapped between the lstat and the open
        if (fd < 0)
            entry.openError = errno;
    }
    if (fd >= 0 && callbacks_.handOff && callbacks_.handOff(fd, entry))
        fd = -1; // its content is walked elsewhere
    if (fd < 0) {
        return callbacks_.visit && callbacks_.visit(entry) == WalkAction::Stop ? WalkResult::Stopped
                                                                                : WalkResult::Completed;
    }
    push(fd, name, st, folder);
    return WalkResult::Completed;
}

void Walker::push(int fd, const std::string& name, const struct stat& st, std::string_view folder)
{
    Frame frame;
    frame.fd = fd;
    frame.name = name;
    frame.status = st;
    frame.names = listDirectoryAt(fd);
    frame.folderLength = folder.size();
    path_.resize(folder.size());
    if (!path_.empty() && path_.back() != '/')
        path_ += '/';
    path_ += name;
    frames_.push_back(std::move(frame));
    limitOpenDescriptors();
}

void Walker::limitOpenDescriptors()
{
    size_t open = 0;
    for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
        if (it->fd < 0)
            break;
        if (++open > kMaxOpenFolders) {
            close(it->fd);
            it->fd = -1;
        }
    }
}

bool Walker::reopenParentOfTop()
{
    Frame& top = frames_.back();
    Frame& parent = frames_[frames_.size() - 2];
    const int fd = openSameFileAt(top.fd, "..", O_RDONLY | O_DIRECTORY, parent.status);
    if (fd < 0)
        return false;
    parent.fd = fd;
    return true;
}

WalkResult Walker::leaveTop()
{
    if (frames_.size() >= 2 && frames_[frames_.size() - 2].fd < 0 && !reopenParentOfTop())
        return WalkResult::Redirected;
    Frame top = std::move(frames_.back());
    frames_.pop_back();
    close(top.fd);
    // Restore the path buffer to the folder that holds `top`.
    path_.resize(top.folderLength);
    if (contentOnly_ && frames_.empty())
        return WalkResult::Completed;
    const int depth = static_cast<int>(frames_.size());
    const WalkEntry entry{parentFdOf(frames_.size()), top.name.c_str(), std::string_view(path_), top.status, 0, 0,
                          depth};
    return callbacks_.visit && callbacks_.visit(entry) == WalkAction::Stop ? WalkResult::Stopped
                                                                            : WalkResult::Completed;
}

} // namespace

std::string WalkEntry::path() const
{
    std::string full(folder);
    if (!full.empty() && full.back() != '/')
        full += '/';
    full += name;
    return full;
}

WalkResult walkTree(int parentFd, const std::string& folder, const std::string& name, const WalkCallbacks& callbacks)
{
    Walker walker(parentFd, folder, callbacks);
    return walker.run(name);
}

WalkResult walkFolderContent(int folderFd, const struct stat& status, const std::string& folder,
                             const std::string& name, const WalkCallbacks& callbacks)
{
    Walker walker(-1, folder, callbacks);
    return walker.runContent(folderFd, status, name);
}

} // namespace bw::posix
