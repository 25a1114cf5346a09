#pragma once
// The locked flag of the desktop is the immutable inode flag on Linux.

namespace bw::posix {

// Clears the immutable flag of the entry `name` in `dirFd`. Only regular files and folders
// are opened (a device node is never opened), and never through a symbolic link. A file with
// more than one link keeps its flag: its other names are outside the trash. Returns false
// when the flag could not be read or cleared, or was kept; callers ignore that.
bool clearImmutableAt(int dirFd, const char* name);

// Sets it; false when the file system or the caller's privileges do not allow it.
bool setImmutableAt(int dirFd, const char* name);

// Whether the flag is set (false when it cannot be read).
bool isImmutableAt(int dirFd, const char* name);

} // namespace bw::posix
