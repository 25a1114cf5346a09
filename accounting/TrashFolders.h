#pragma once
#include "platform/TrashLayout.h"

#include <functional>
#include <string>
#include <vector>

namespace bw {

// The item folders of every layout that make up the home trash and a volume's trash.
// A home folder that lies on a watched volume rather than on the startup volume (a data
// folder mounted elsewhere) is that volume's: each is accounted against its own file system.
// `volumePaths` is asked only when a home folder lies on another file system.
std::vector<ItemFolder> homeItemFolders(const TrashOwner& owner,
                                        const std::function<std::vector<std::string>()>& volumePaths);
std::vector<ItemFolder> volumeItemFolders(const std::string& volumePath, const TrashOwner& owner);

// The folders to watch for all of these, at most `perTrash` content folders each (the
// user's own first), and whether some were left to the monitor timer.
bool addWatchesOf(const std::vector<ItemFolder>& folders, size_t perTrash, TrashWatch& watch);

} // namespace bw
