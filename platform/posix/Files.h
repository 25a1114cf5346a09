#pragma once
// File helpers on plain POSIX calls. Every function here measures or lists; none writes.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace bw::posix {

// Names of a folder's entries (hidden ones included, without "." and ".."), in the order
// the directory gives them. Empty when the folder is missing or unreadable.
std::vector<std::string> listDirectory(const std::string& path);
std::vector<std::string> listDirectoryAt(int dirFd);

// The same, but only for a real folder: a path that is a symbolic link lists nothing.
std::vector<std::string> listRealDirectory(const std::string& path);

// lstat of a path; none when it fails (errno is kept).
std::optional<struct stat> lstatPath(const std::string& path);

// Opens a folder for reading without following a final symbolic link; -1 on failure.
int openDirectoryNoFollow(const std::string& path);
int openDirectoryAt(int parentFd, const char* name);

// Opens `name` in `dirFd` with `flags` (O_NOFOLLOW and O_CLOEXEC are always added) and keeps
// the descriptor only when it reaches the very inode `expected` describes (same device and
// inode): an entry swapped since it was looked at is never acted on. -1 with errno set
// otherwise (ESTALE for another inode). `opened`, when given, receives the fstat taken.
int openSameFileAt(int dirFd, const char* name, int flags, const struct stat& expected,
                   struct stat* opened = nullptr);

// Opens the folder `path` (absolute) so that no component below `trustedFolder` is a symbolic
// link and none is "." or "..". Links within `trustedFolder` itself (a home folder under a
// linked /home, say) are the user's set-up and are followed; a path outside it is resolved
// from "/" without following any link. -1 with errno set when that cannot be done.
int openFolderWithoutLinks(const std::string& path, const std::string& trustedFolder);

// A folder, not a link to one: a trash folder that is a link is not a trash.
bool isRealFolder(const std::string& path);

// Whether `name` is one ordinary path component: not empty, ".", ".." and without "/".
bool isPlainName(const std::string& name);

// A file time as a point in time, to the nanosecond.
std::chrono::system_clock::time_point timePointOf(const struct timespec& time);

std::string joinPath(const std::string& folder, const std::string& name);
std::string lastComponent(const std::string& path);
std::string parentPath(const std::string& path);

// The measured size of one trash item: its own lstat size plus that of everything below
// it, never following a link and never leaving its file system. Unreadable entries count 0;
// `onUnreadable`, when given, hears the errno of each.
double measuredSize(int parentFd, const char* name, const std::function<void(int)>& onUnreadable = {});
double measuredSize(const std::string& path);

// The measured sizes of the entries `names` of the open folder `folderFd`, in their order,
// each as measuredSize gives it, by `threads` threads (the caller's among them) sharing the
// work folder by folder: the items go to the threads in turn, and once none is left, a
// folder met by a busy thread goes to a thread that has nothing to do. Every thread keeps
// the walk's own bound on descriptors, and at most threads - 1 folders wait open between
// them. The other threads have ended when it returns; `onUnreadable` is heard by one thread
// at a time.
std::vector<double> measuredSizes(int folderFd, const std::vector<std::string>& names, int threads,
                                  const std::function<void(int)>& onUnreadable = {});

} // namespace bw::posix
