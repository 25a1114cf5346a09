#pragma once
#include "platform/TrashLayout.h"

#include <string_view>

namespace bw::posix {

// "~/.Trash", and ".Trashes/<per-user folder>" at a volume's root.
const TrashLayout& classicLayout();
// The shared folder of the classic trash at a volume's root, ".Trashes".
std::string classicVolumeTrash(const std::string& volumePath);
// "$XDG_DATA_HOME/Trash", and ".Trash-$uid" or ".Trash/$uid" at a volume's root, each with
// "files" for the items and "info" for their descriptions.
const TrashLayout& freedesktopLayout();

// The DeletionDate of a ".trashinfo" text (local time); none when it has none that reads.
std::optional<TimePoint> deletionDateOf(std::string_view trashInfo);
// A "directorysizes" text without the line of the item `name`; every other line kept.
std::string withoutDirectorySize(std::string_view text, const std::string& name);

// Whether a per-user folder of a shared trash (named by uid or user name, owned by
// `ownerUid`) belongs to an account of this machine other than `owner`.
bool isOtherAccountsFolder(const std::string& name, uid_t ownerUid, const TrashOwner& owner);

} // namespace bw::posix
