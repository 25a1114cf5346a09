#pragma once
#include "platform/Clock.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct stat;

namespace bw {

class Log;
class TrashLayout;

// The user whose trashes these are.
struct TrashOwner {
    uid_t uid = 0;
    std::string userName;
    std::string homeDirectory;
    std::string dataHome; // $XDG_DATA_HOME, or ~/.local/share
};

// One folder whose entries are root items of a trash. An item is named in the trash's
// books by `keyPrefix` followed by its entry name: the classic trashes name items as they
// always did (a name, or per-user folder slash name), a freedesktop folder by full path.
struct ItemFolder {
    std::string path;
    std::string keyPrefix;
    const TrashLayout* layout = nullptr;
    // Empty when the folder may be measured and emptied; otherwise why not, for the log.
    std::string refusal;
    // The user's own folder, rather than one of an account that is not of this machine.
    bool isOwn = true;
};

// A folder above a trash folder, and the name under which that trash folder appears in
// it (empty: any folder).
struct WatchedParent {
    std::string folder;
    std::string name;
    bool operator==(const WatchedParent&) const = default;
};

// Folders to watch for changes: those whose entries are items or tell of items, and the
// folders above them in which a trash folder can appear.
struct TrashWatch {
    std::vector<std::string> contents;
    std::vector<WatchedParent> parents;
    void append(const TrashWatch& other);
};

// Where an item's description was put while the item is destroyed.
struct WithdrawnDescription {
    std::string description; // where it belongs
    std::string aside;       // where it is now
};

// One way of laying out a trash on disk. Nothing but a layout knows a trash folder's name.
class TrashLayout {
public:
    virtual ~TrashLayout() = default;

    // The item folders of the home trash, and of the trash of the volume mounted at
    // `volumePath`, that exist (refused ones included, so that a refusal can be told).
    virtual std::vector<ItemFolder> homeFolders(const TrashOwner& owner) const = 0;
    virtual std::vector<ItemFolder> volumeFolders(const std::string& volumePath, const TrashOwner& owner) const = 0;

    // The dates the items were trashed, in the order of `names`; none where unknown.
    virtual std::vector<std::optional<TimePoint>> itemDates(const ItemFolder& folder,
                                                            const std::vector<std::string>& names) const = 0;
    // Where the item was before it was trashed, as an absolute path, when what the layout
    // keeps beside the item tells it; none otherwise.
    virtual std::optional<std::string> originalLocation(const ItemFolder& folder, const std::string& name) const = 0;
    // The date of one item, `seen` being its lstat: read no further than the layout needs.
    virtual std::optional<TimePoint> dateOf(const ItemFolder& folder, const std::string& name,
                                            const struct stat& /*seen*/) const
    {
        return itemDates(folder, {name}).front();
    }
    // Removes what tells of an item that has just been deleted.
    virtual void removeCompanions(const ItemFolder& folder, const std::string& name, Log& log) const = 0;
    // Takes the description of the item `name` out of every client's reach before the item is
    // destroyed: it is moved aside, under a name no client reads, so that it can be put back
    // if the item stays whole. None when the item has no description (or the layout keeps none);
    // `error` then receives the errno of a move that failed, else 0.
    virtual std::optional<WithdrawnDescription> withdrawDescription(const ItemFolder& /*folder*/,
                                                                    const std::string& /*name*/, int& error) const
    {
        error = 0;
        return std::nullopt;
    }
    // Where an item goes to be destroyed when it keeps its name: a folder of the trash that
    // no client lists (absolute path); none when the item folder itself is listed by no client.
    virtual std::optional<std::string> withdrawnFolder(const ItemFolder& /*folder*/) const { return std::nullopt; }
    // Removes what tells of items that are no longer there; a description younger than
    // kOrphanGrace may belong to an item that a slow trasher is still moving in, and stays.
    virtual void removeOrphans(const ItemFolder& folder, Log& log) const = 0;

    virtual void addWatches(const ItemFolder& folder, TrashWatch& watch) const = 0;
    // The folders in which this layout's home or volume trash folders appear.
    virtual void addHomeParents(const TrashOwner& owner, TrashWatch& watch) const = 0;
    virtual void addVolumeParents(const std::string& volumePath, const TrashOwner& owner, TrashWatch& watch) const = 0;

    // The part of `path` below an item folder of the home trash (`volumePath` empty) or of
    // the volume's trash; none when it lies in none. Read from the path alone, so that the
    // file being deleted can be shown as it goes.
    virtual std::optional<std::string> pathInTrash(const std::string& path, const std::string& volumePath,
                                                   const TrashOwner& owner) const = 0;

    // Whether `folder` is one of the trash folders of the home (`volumePath` empty) or of
    // the volume that the permission repair may touch: an item folder of the user's, or the
    // folder that holds its items' descriptions, or a per-user folder of no account of this
    // machine. Read from the path and the accounts alone.
    virtual bool isRepairableFolder(const std::string& folder, const std::string& volumePath,
                                    const TrashOwner& owner) const = 0;
};

// How long a description whose item is missing is left alone, by its own modification time.
constexpr std::chrono::minutes kOrphanGrace{10};

// The part of `path` below `folder`; none when it does not lie inside it.
std::optional<std::string> pathBelow(const std::string& folder, const std::string& path);

// Both layouts, classic first.
const std::vector<const TrashLayout*>& trashLayouts();

// The folder whose file system is the startup volume: the classic home trash, or the home
// folder when there is none that may be used.
std::string startupAnchor(const TrashOwner& owner);

// The user running the program, with the home folder and the data folder given ($XDG_DATA_HOME;
// empty or relative: "~/.local/share").
TrashOwner currentTrashOwner(const std::string& homeDirectory, const std::string& dataHome = {});

} // namespace bw
