#pragma once
// The writing side of the shredder, on directory descriptors: overwriting one open file,
// renaming without replacing, removing, and moving between file systems. Nothing here
// follows a symbolic link. Each function returns 0 or the errno of the step that failed.
#include <cstdint>
#include <functional>
#include <string>
#include <sys/stat.h>

namespace bw::posix {

// Bytes of 0xFF written over a file of `size` bytes: whole 256-byte blocks, the last one
// rounded up, so a 257-byte file ends 512 bytes long.
uint64_t filledLength(uint64_t size);

// Opens `name` in `dirFd` for overwriting, never truncating and never through a link, and
// keeps it only when it is the regular file `seen` with a single link; -1 otherwise.
int openForOverwrite(int dirFd, const char* name, const struct stat& seen);

// Writes 0xFF over the allocated extents of the first `size` bytes (holes hold no data and
// stay holes; the whole range where the file system cannot tell) and over the rounding up to
// filledLength(size), in large writes, then one fdatasync. ECANCELED when `stop` said so
// before the last write: the overwrite did not finish.
int overwriteWithFill(int fd, uint64_t size, const std::function<bool()>& stop = {});

// Whether an overwrite reaches the data of a file on the file system open at `fd` (or holding
// `path`): not on a copy-on-write or log-structured one (btrfs, zfs, bcachefs, f2fs, nilfs2),
// where the new bytes go to new blocks, the old ones stay, and the writes need free space.
// True where the type cannot be read.
bool overwriteReaches(int fd);
bool overwriteReachesPath(const std::string& path);

// renameat2 with RENAME_NOREPLACE: EEXIST when the target is taken.
int renameNoReplace(int fromDir, const char* from, int toDir, const char* to);

// Removes an entry; a folder that still holds something is emptied first, through
// descriptors and without leaving its file system.
int removeEntryAt(int dirFd, const char* name);

// Moves an entry into another folder under `toName`, never replacing anything there. Across
// file systems a file or link is copied (content, mode, times, resource fork) and then
// removed; a folder is recreated only when it is empty.
int moveEntry(int fromDir, const char* name, int toDir, const char* toName);

} // namespace bw::posix
