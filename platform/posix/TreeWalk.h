#pragma once
// An iterative walk of one trash item (a file, a link or a whole folder) through directory
// file descriptors. It never follows a symbolic link, never leaves the item's file system,
// keeps a bounded number of descriptors open however deep the tree is, and notices when a
// folder it climbs back into is no longer the folder it left.
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace bw::posix {

enum class WalkAction {
    Continue,     // go on
    SkipChildren, // (before a folder) do not descend into it
    Stop,         // end the walk now
};

enum class WalkResult {
    Completed,
    Stopped,   // a callback returned Stop
    Redirected // a folder was replaced (renamed, swapped for a link) while the walk ran
};

struct WalkEntry {
    int parentFd;              // folder that holds the entry, open for the callback's use
    const char* name;          // the entry's name in that folder
    std::string_view folder;   // the folder's path, for display and log lines only
    const struct stat& status; // lstat of the entry, taken when the walk met it
    int statError;             // errno of that lstat, 0 when it worked (status is zeroed)
    int openError;             // for a folder: errno when it could not be opened, else 0
    int depth;                 // 0 for the item itself
    bool isDirectory() const { return statError == 0 && S_ISDIR(status.st_mode); }
    std::string path() const;
};

struct WalkCallbacks {
    // Before a folder's content; a folder on another file system is never descended into.
    std::function<WalkAction(const WalkEntry&)> beforeFolder;
    // Every entry once, depth first: each folder after its content, every other entry
    // when met. Entries of a folder are taken in listing order, listed before any is handled.
    std::function<WalkAction(const WalkEntry&)> visit;
    // Offered each folder the walk has just opened (same file system, same device and inode
    // as its lstat): returning true takes the descriptor, and the folder's content, away
    // from this walk, which then visits the folder at once as if its content were done.
    // Lets another thread walk that content (walkFolderContent).
    std::function<bool(int folderFd, const WalkEntry&)> handOff;
};

// Walks the item `name` inside the open folder `parentFd`, whose path is `folder`.
WalkResult walkTree(int parentFd, const std::string& folder, const std::string& name,
                    const WalkCallbacks& callbacks);

// Walks the content of the folder `name` inside `folder`, already open at `folderFd` (taken:
// the walk closes it) whose lstat is `status`, without visiting that folder itself. The
// walk stays on `status.st_dev`, and climbs back into it only as the inode `status` names.
WalkResult walkFolderContent(int folderFd, const struct stat& status, const std::string& folder,
                             const std::string& name, const WalkCallbacks& callbacks);

} // namespace bw::posix
