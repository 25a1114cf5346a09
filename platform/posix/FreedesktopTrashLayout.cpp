#include "platform/posix/TrashLayouts.h"

#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/posix/Files.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::posix {

namespace {

constexpr const char* kItems = "files";
constexpr const char* kInfos = "info";
constexpr const char* kInfoSuffix = ".trashinfo";
constexpr const char* kDirectorySizes = "directorysizes";
// Added to a description's name while its item is destroyed: no client reads such a file.
constexpr const char* kAsideSuffix = ".shredding";
// A description larger than this is not one a file manager wrote: its date is unknown.
constexpr off_t kMaxInfoSize = 64 * 1024;
// One line per trashed folder; a larger file is left as it is.
constexpr off_t kMaxDirectorySizes = 16 * 1024 * 1024;

// Why `path` may not serve as a folder of the user's freedesktop trash; empty when it may.
// A missing folder gives "missing".
std::string refusalOfFolder(const std::string& path, uid_t uid)
{
    const auto st = lstatPath(path);
    if (!st)
        return "missing";
    if (S_ISLNK(st->st_mode))
        return strprintf("has %s, a symbolic link", path.c_str());
    if (!S_ISDIR(st->st_mode))
        return strprintf("has %s, which is not a folder", path.c_str());
    if (st->st_uid != uid)
        return strprintf("has %s, which is not owned by this user", path.c_str());
    return {};
}

// The item folder of the trash folder `trash` (".../Trash", ".Trash-$uid" or ".Trash/$uid"),
// with the first check it fails; none when there is no such trash.
std::optional<ItemFolder> itemFolderOf(const std::string& trash, uid_t uid, const TrashLayout* layout)
{
    const std::string files = joinPath(trash, kItems);
    ItemFolder folder{files, files + "/", layout, "", true};
    std::string refusal = refusalOfFolder(trash, uid);
    if (refusal == "missing")
        return std::nullopt;
    if (refusal.empty())
        refusal = refusalOfFolder(files, uid);
    if (refusal == "missing")
        return std::nullopt;
    if (refusal.empty()) {
        const std::string infoRefusal = refusalOfFolder(joinPath(trash, kInfos), uid);
        if (infoRefusal != "missing")
            refusal = infoRefusal;
    }
    folder.refusal = refusal;
    return folder;
}

std::string trashOf(const ItemFolder& folder)
{
    return parentPath(folder.path);
}

// Inside a trash folder, its two folders may appear.
void addTrashParents(const std::string& trash, TrashWatch& watch)
{
    if (!isRealFolder(trash))
        return;
    watch.parents.push_back({trash, kItems});
    watch.parents.push_back({trash, kInfos});
}

// The whole of a small regular file opened without following a link; none otherwise.
std::optional<std::string> readSmallFile(int folderFd, const std::string& name, off_t limit, struct stat* status)
{
    const int fd = openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<std::string> text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= limit) {
        std::string buffer(static_cast<size_t>(st.st_size), '\0');
        const ssize_t got = pread(fd, buffer.data(), buffer.size(), 0);
        if (got >= 0) {
            buffer.resize(static_cast<size_t>(got));
            text = std::move(buffer);
        }
    }
    if (status)
        *status = st;
    close(fd);
    return text;
}

// An item's date: the description's DeletionDate, else the description's modification
// time, else the item's status-change time.
std::optional<TimePoint> itemDate(int infoFd, int filesFd, const std::string& name)
{
    if (infoFd >= 0) {
        struct stat info {};
        const auto text = readSmallFile(infoFd, name + kInfoSuffix, kMaxInfoSize, &info);
        if (text)
            if (const auto date = deletionDateOf(*text))
                return date;
        if (S_ISREG(info.st_mode))
            return timePointOf(info.st_mtim);
    }
    struct stat item {};
    if (filesFd >= 0 && fstatat(filesFd, name.c_str(), &item, AT_SYMLINK_NOFOLLOW) == 0)
        return timePointOf(item.st_ctim);
    return std::nullopt;
}


// The value of `key` in the "[Trash Info]" group of a description; none when it has none.
std::optional<std::string_view> trashInfoValue(std::string_view text, std::string_view key)
{
    bool inGroup = false;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '[') {
            inGroup = line == "[Trash Info]";
            continue;
        }
        if (inGroup && line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

// The root of the volume whose trash folder is `trash` (".Trash-$uid" or ".Trash/$uid");
// none for the home trash.
std::optional<std::string> volumeRootOf(const std::string& trash)
{
    if (lastComponent(trash).rfind(".Trash-", 0) == 0)
        return parentPath(trash);
    if (lastComponent(parentPath(trash)) == ".Trash")
        return parentPath(parentPath(trash));
    return std::nullopt;
}

// The name a "directorysizes" line is about: the third field, percent-encoded.
std::optional<std::string> directorySizeName(std::string_view line)
{
    const size_t first = line.find(' ');
    const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    return percentDecoded(line.substr(second + 1));
}

bool writeAll(int fd, const std::string& text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Replaces the file `name` of the folder with `text`, through a new file beside it that is
// renamed over it, so that a reader sees the old text or the new, never half of one.
bool replaceFile(int folderFd, const std::string& name, const std::string& text, mode_t mode)
{
    const std::string temporary = strprintf(".%s.%d.new", name.c_str(), static_cast<int>(getpid()));
    const int fd = openat(folderFd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, text) && fchmod(fd, mode) == 0;
    const bool closed = close(fd) == 0;
    if (written && closed && renameat(folderFd, temporary.c_str(), folderFd, name.c_str()) == 0)
        return true;
    unlinkat(folderFd, temporary.c_str(), 0);
    return false;
}

void removeDirectorySize(int trashFd, const std::string& name, Log& log)
{
    struct stat st {};
    const auto text = readSmallFile(trashFd, kDirectorySizes, kMaxDirectorySizes, &st);
    if (!text || st.st_uid != geteuid())
        return;
    const std::string kept = withoutDirectorySize(*text, name);
    if (kept.size() != text->size() && !replaceFile(trashFd, kDirectorySizes, kept, st.st_mode & 07777))
        log.line(strprintf("Could not rewrite %s, err=%d(%s)", kDirectorySizes, errno, strerror(errno)));
}

class FreedesktopTrashLayout final : public TrashLayout {
public:
    std::vector<ItemFolder> homeFolders(const TrashOwner& owner) const override
    {
        const auto folder = itemFolderOf(joinPath(owner.dataHome, "Trash"), owner.uid, this);
        return folder ? std::vector<ItemFolder>{*folder} : std::vector<ItemFolder>{};
    }

    std::vector<ItemFolder> volumeFolders(const std::string& volumePath, const TrashOwner& owner) const override
    {
        const std::string uid = std::to_string(owner.uid);
        std::vector<ItemFolder> folders;
        // The shared ".Trash" serves only as a real folder with the sticky bit, so that no
        // other user can swap the user's folder inside it.
        const std::string shared = joinPath(volumePath, ".Trash");
        if (const auto st = lstatPath(shared); st && (S_ISLNK(st->st_mode) || S_ISDIR(st->st_mode))) {
            if (auto folder = itemFolderOf(joinPath(shared, uid), owner.uid, this)) {
                if (S_ISLNK(st->st_mode))
                    folder->refusal = strprintf("has %s, a symbolic link", shared.c_str());
                else if ((st->st_mode & S_ISVTX) == 0)
                    folder->refusal = strprintf("has %s without the sticky bit", shared.c_str());
                folders.push_back(std::move(*folder));
            }
        }
        if (auto folder = itemFolderOf(joinPath(volumePath, ".Trash-" + uid), owner.uid, this))
            folders.push_back(std::move(*folder));
        return folders;
    }

    std::vector<std::optional<TimePoint>> itemDates(const ItemFolder& folder,
                                                    const std::vector<std::string>& names) const override
    {
        const int filesFd = openDirectoryNoFollow(folder.path);
        const int infoFd = openDirectoryNoFollow(joinPath(trashOf(folder), kInfos));
        std::vector<std::optional<TimePoint>> dates;
        dates.reserve(names.size());
        for (const auto& name : names)
            dates.push_back(itemDate(infoFd, filesFd, name));
        for (const int fd : {filesFd, infoFd})
            if (fd >= 0)
                close(fd);
        return dates;
    }

    // The description's Path, percent-encoded: absolute, or in a volume's trash relative to
    // the volume's root. A NUL byte or an empty value is no path.
    std::optional<std::string> originalLocation(const ItemFolder& folder, const std::string& name) const override
    {
        const int infoFd = openDirectoryNoFollow(joinPath(trashOf(folder), kInfos));
        if (infoFd < 0)
            return std::nullopt;
        const auto text = readSmallFile(infoFd, name + kInfoSuffix, kMaxInfoSize, nullptr);
        close(infoFd);
        const auto value = text ? trashInfoValue(*text, "Path") : std::nullopt;
        if (!value || value->empty())
            return std::nullopt;
        const auto path = percentDecoded(*value);
        if (!path)
            return std::nullopt;
        if (path->front() == '/')
            return path;
        const auto root = volumeRootOf(trashOf(folder));
        return root ? std::optional(joinPath(*root, *path)) : std::nullopt;
    }

    void removeCompanions(const ItemFolder& folder, const std::string& name, Log& log) const override
    {
        const int trashFd = openDirectoryNoFollow(trashOf(folder));
        if (trashFd < 0)
            return;
        const int infoFd = openDirectoryAt(trashFd, kInfos);
        // ENOENT: the item had no description; anything else is worth a line.
        if (infoFd >= 0) {
            if (unlinkat(infoFd, (name + kInfoSuffix).c_str(), 0) != 0 && errno != ENOENT)
                log.line(strprintf("Could not remove the description of %s, err=%d(%s)",
                                   joinPath(folder.path, name).c_str(), errno, strerror(errno)));
            close(infoFd);
        }
        removeDirectorySize(trashFd, name, log);
        close(trashFd);
    }

    std::optional<WithdrawnDescription> withdrawDescription(const ItemFolder& folder, const std::string& name,
                                                            int& error) const override
    {
        error = 0;
        const std::string infos = joinPath(trashOf(folder), kInfos);
        const int infoFd = openDirectoryNoFollow(infos);
        if (infoFd < 0)
            return std::nullopt;
        const std::string description = name + kInfoSuffix;
        const std::string aside = description + kAsideSuffix;
        std::optional<WithdrawnDescription> withdrawn;
        int moved = renameat2(infoFd, description.c_str(), infoFd, aside.c_str(), RENAME_NOREPLACE);
        // One left by an interrupted run is older than the description now there.
        if (moved != 0 && errno == EEXIST && unlinkat(infoFd, aside.c_str(), 0) == 0)
            moved = renameat2(infoFd, description.c_str(), infoFd, aside.c_str(), RENAME_NOREPLACE);
        if (moved == 0)
            withdrawn = WithdrawnDescription{joinPath(infos, description), joinPath(infos, aside)};
        else if (errno != ENOENT)
            error = errno;
        close(infoFd);
        return withdrawn;
    }

    // The trash folder itself: clients list only its "files" folder.
    std::optional<std::string> withdrawnFolder(const ItemFolder& folder) const override { return trashOf(folder); }

    void removeOrphans(const ItemFolder& folder, Log& log) const override
    {
        struct timespec now {};
        clock_gettime(CLOCK_REALTIME, &now);
        const time_t graceEnds = now.tv_sec - std::chrono::duration_cast<std::chrono::seconds>(kOrphanGrace).count();
        const int filesFd = openDirectoryNoFollow(folder.path);
        const int infoFd = openDirectoryNoFollow(joinPath(trashOf(folder), kInfos));
        if (filesFd >= 0 && infoFd >= 0) {
            const size_t suffix = std::strlen(kInfoSuffix);
            for (const auto& entry : listDirectoryAt(infoFd)) {
                if (entry.size() <= suffix || entry.compare(entry.size() - suffix, suffix, kInfoSuffix) != 0)
                    continue;
                struct stat st {};
                const std::string item = entry.substr(0, entry.size() - suffix);
                if (fstatat(filesFd, item.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
                    continue;
                // Only a description goes: a folder of that name is no one's description.
                if (fstatat(infoFd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
                    continue;
                // A fresh description may be ahead of its item, which a copying trasher is
                // still moving into the trash.
                if (st.st_mtim.tv_sec > graceEnds)
                    continue;
                if (unlinkat(infoFd, entry.c_str(), 0) != 0 && errno != ENOENT)
                    log.line(strprintf("Could not remove %s, err=%d(%s)", entry.c_str(), errno, strerror(errno)));
            }
        }
        for (const int fd : {filesFd, infoFd})
            if (fd >= 0)
                close(fd);
    }

    void addWatches(const ItemFolder& folder, TrashWatch& watch) const override
    {
        watch.contents.push_back(folder.path);
        const std::string info = joinPath(trashOf(folder), kInfos);
        if (isRealFolder(info))
            watch.contents.push_back(info);
    }

    void addHomeParents(const TrashOwner& owner, TrashWatch& watch) const override
    {
        if (isRealFolder(owner.dataHome))
            watch.parents.push_back({owner.dataHome, "Trash"});
        addTrashParents(joinPath(owner.dataHome, "Trash"), watch);
    }

    void addVolumeParents(const std::string& volumePath, const TrashOwner& owner, TrashWatch& watch) const override
    {
        const std::string uid = std::to_string(owner.uid);
        watch.parents.push_back({volumePath, ".Trash-" + uid});
        watch.parents.push_back({volumePath, ".Trash"});
        if (isRealFolder(joinPath(volumePath, ".Trash")))
            watch.parents.push_back({joinPath(volumePath, ".Trash"), uid});
        addTrashParents(joinPath(volumePath, ".Trash-" + uid), watch);
        addTrashParents(joinPath(volumePath, ".Trash/" + uid), watch);
    }

    std::optional<std::string> pathInTrash(const std::string& path, const std::string& volumePath,
                                           const TrashOwner& owner) const override
    {
        const std::string uid = std::to_string(owner.uid);
        const std::vector<std::string> trashes =
            volumePath.empty() ? std::vector<std::string>{joinPath(owner.dataHome, "Trash")}
                               : std::vector<std::string>{joinPath(volumePath, ".Trash-" + uid),
                                                          joinPath(volumePath, ".Trash/" + uid)};
        for (const auto& trash : trashes)
            if (auto below = pathBelow(joinPath(trash, kItems), path))
                return below;
        return std::nullopt;
    }

    bool isRepairableFolder(const std::string& folder, const std::string& volumePath,
                            const TrashOwner& owner) const override
    {
        const std::string leaf = lastComponent(folder);
        if (leaf != kItems && leaf != kInfos)
            return false;
        const std::string trash = parentPath(folder);
        const std::string uid = std::to_string(owner.uid);
        if (volumePath.empty())
            return trash == joinPath(owner.dataHome, "Trash");
        return trash == joinPath(volumePath, ".Trash-" + uid) || trash == joinPath(volumePath, ".Trash/" + uid);
    }
};

} // namespace

std::optional<TimePoint> deletionDateOf(std::string_view text)
{
    const auto date = trashInfoValue(text, "DeletionDate");
    if (!date)
        return std::nullopt;
    const std::string value(date->substr(0, 19));
    struct tm parts {};
    char tail = 0;
    if (value.size() != 19 ||
        std::sscanf(value.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                    &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &tail) != 6)
        return std::nullopt;
    if (parts.tm_mon < 1 || parts.tm_mon > 12 || parts.tm_mday < 1 || parts.tm_mday > 31 || parts.tm_hour > 23 ||
        parts.tm_min > 59 || parts.tm_sec > 60 || parts.tm_hour < 0 || parts.tm_min < 0 || parts.tm_sec < 0)
        return std::nullopt;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    parts.tm_isdst = -1; // local time, whatever the season
    const time_t seconds = mktime(&parts);
    if (seconds == static_cast<time_t>(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(seconds);
}

std::string withoutDirectorySize(std::string_view text, const std::string& name)
{
    std::string kept;
    kept.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        const size_t stop = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(at, stop - at);
        at = stop;
        std::string_view bare = line;
        if (!bare.empty() && bare.back() == '\n')
            bare.remove_suffix(1);
        if (directorySizeName(bare) != name)
            kept.append(line);
    }
    return kept;
}

const TrashLayout& freedesktopLayout()
{
    static const FreedesktopTrashLayout layout;
    return layout;
}

} // namespace bw::posix
