#include "accounting/TrashItemRows.h"

#include "platform/Format.h"
#include "platform/Strings.h"
#include "platform/posix/Files.h"

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

namespace {

const char* kindKey(mode_t mode)
{
    if (S_ISDIR(mode))
        return "KindFolder";
    if (S_ISREG(mode))
        return "KindFile";
    if (S_ISLNK(mode))
        return "KindLink";
    return "KindOther";
}

// "2026-12-07 08:50", local time.
std::string dateText(TimePoint date)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm local{};
    localtime_r(&seconds, &local);
    return strprintf("%d-%02d-%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min);
}

void addRowsOf(const ItemFolder& folder, const std::optional<TrashFiles>& table, Strings& strings,
               std::vector<TrashItemRow>& rows)
{
    const int fd = posix::openDirectoryNoFollow(folder.path);
    if (fd < 0)
        return;
    const auto names = posix::listDirectoryAt(fd);
    const auto dates = folder.layout->itemDates(folder, names);
    for (size_t i = 0; i < names.size(); ++i) {
        struct stat st {};
        // Gone since the listing: nothing to choose.
        if (fstatat(fd, names[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        TrashItemRow row;
        row.path = posix::joinPath(folder.path, names[i]);
        row.name = names[i];
        const auto recorded = table ? table->find(folder.keyPrefix + names[i]) : TrashFiles::const_iterator{};
        if (table && recorded != table->end())
            row.size = recorded->second;
        else
            row.size = posix::measuredSize(fd, names[i].c_str());
        row.sizeText = byteCountText(row.size);
        row.kindText = strings.localized(kindKey(st.st_mode));
        row.trashed = i < dates.size() ? dates[i] : std::nullopt;
        if (row.trashed)
            row.trashedText = dateText(*row.trashed);
        row.originalLocation = folder.layout->originalLocation(folder, names[i]).value_or("");
        rows.push_back(std::move(row));
    }
    close(fd);
}

} // namespace

std::vector<TrashItemRow> trashItemRows(const std::vector<ItemFolder>& folders, const std::optional<TrashFiles>& table,
                                        Strings& strings)
{
    std::vector<TrashItemRow> rows;
    for (const auto& folder : folders)
        if (folder.layout)
            addRowsOf(folder, table, strings, rows);
    std::stable_sort(rows.begin(), rows.end(), [](const TrashItemRow& a, const TrashItemRow& b) {
        return a.trashed && (!b.trashed || *a.trashed < *b.trashed);
    });
    return rows;
}

} // namespace bw
