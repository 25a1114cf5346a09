#pragma once
// Which paths lie in a user's own trash folders, read from the paths and the accounts: what
// the program asks before it asks for a password. The privileged helper decides again for
// itself, by descriptor, before it removes anything.
#include "platform/TrashLayout.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace bw::repair {

enum class TrashFolderKind {
    None,       // not a trash folder of this user
    SharedRoot, // "<mount>/.Trashes" itself: shared by every user, only ever fixed itself
    Own,        // one of the user's trash folders: what lies inside may be repaired
};

// `folder` is a resolved absolute path: the trash layouts tell whether it is one of the
// user's trash folders at the home or at one of the mount points. A classic per-user folder
// whose name is no account of this machine (a disk from elsewhere) counts as the user's;
// one of another local account never does.
TrashFolderKind trashFolderKind(const std::string& folder, const TrashOwner& user,
                                const std::vector<std::string>& mountPoints);

// Where the resolved path `path` lies: Own when it is, or lies inside, one of the user's
// trash folders; SharedRoot only for a ".Trashes" root itself.
TrashFolderKind trashPlaceOf(const std::string& path, const TrashOwner& user,
                             const std::vector<std::string>& mountPoints);

// The mount points of /proc/self/mountinfo, unescaped.
std::vector<std::string> mountPoints();

} // namespace bw::repair
