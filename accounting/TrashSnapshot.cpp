#include "accounting/TrashSnapshot.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/SpaceSource.h"
#include "platform/Strings.h"
#include "platform/posix/Files.h"
#include "platform/posix/ShredOps.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iterator>

namespace bw {

namespace {

std::vector<std::string> folderPaths(const std::vector<ItemFolder>& folders)
{
    std::vector<std::string> paths;
    for (const auto& folder : folders)
        paths.push_back(folder.path);
    return paths;
}

// Deletions can subtract more than was measured: a counter below 0 counts as 0.
void fill(TrashState& state, const SpaceFigures& space, double minimum, double counter)
{
    state.capacity = space.capacity;
    state.free = space.free;
    state.minimumFree = minimum;
    state.shortOfSpace = space.free < minimum;
    state.bytes = std::max(counter, 0.0);
}

// Valid UTF-8 as it is; each byte of an invalid sequence becomes U+FFFD.
std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            if (c == '"' || c == '\\')
                out += strprintf("\\%c", c);
            else if (c < 0x20 || c == 0x7f)
                out += strprintf("\\u%04x", c);
            else
                out += static_cast<char>(c);
            ++i;
            continue;
        }
        // The length a lead byte announces, and the smallest code point of that length.
        const size_t length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
        bool valid = length != 0 && i + length <= n;
        unsigned code = length == 2 ? c & 0x1f : length == 3 ? c & 0x0f : c & 0x07;
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (s[i + k] & 0xc0) == 0x80;
            code = (code << 6) | (s[i + k] & 0x3f);
        }
        valid = valid && !(length == 3 && (code < 0x800 || (code >= 0xd800 && code <= 0xdfff))) &&
                !(length == 4 && (code < 0x10000 || code > 0x10ffff));
        if (valid) {
            out.append(text, i, length);
            i += length;
        } else {
            out += "\xef\xbf\xbd";
            ++i;
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value)
{
    return std::isfinite(value) ? strprintf("%.0f", value) : "0";
}

const char* statusWord(int status)
{
    switch (status) {
    case kStandingBy:
        return "standing by";
    case kDeleting:
        return "deleting";
    case kMeasuring:
        return "measuring";
    default:
        return "canceling";
    }
}

} // namespace

TrashState homeTrashFigures(const Internal& internal)
{
    TrashState state;
    state.status = internal.trashStatus();
    state.measuring = internal.trashSizeing();
    // Capacity once: the minimum is a share of it, and the figures must add up.
    const SpaceFigures space = internal.spaceFigures();
    fill(state, space, internal.miniSizeOf(space.capacity), internal.trashSize());
    state.copyOnWrite = !posix::overwriteReachesPath(internal.volumeMountPoint());
    return state;
}

TrashState volumeTrashFigures(const External& external, const std::string& volumePath)
{
    TrashState state;
    state.status = external.booksAtPath(volumePath)->status();
    state.measuring = external.trashSizeingAtPath(volumePath);
    state.answering = external.isAnsweringAtPath(volumePath);
    const SpaceFigures space = external.spaceFiguresWithPath(volumePath);
    fill(state, space, external.miniSizeOf(space.capacity, volumePath), external.trashSizeWithPath(volumePath));
    state.copyOnWrite = !posix::overwriteReachesPath(volumePath);
    return state;
}

TrashState homeTrashState(const Internal& internal)
{
    TrashState state = homeTrashFigures(internal);
    state.mountPoint = internal.volumeMountPoint();
    state.name = posix::lastComponent(state.mountPoint);
    const auto folders = internal.itemFolders();
    state.folders = folderPaths(folders);
    state.items = TrashBooks::rootItemCountOf(folders);
    return state;
}

TrashState volumeTrashState(const External& external, const std::string& volumePath)
{
    TrashState state = volumeTrashFigures(external, volumePath);
    state.mountPoint = volumePath;
    state.name = posix::lastComponent(volumePath);
    // A volume that does not answer is not listed here, where the answer would wait for it:
    // its items are those of its last measurement.
    if (!state.answering) {
        const auto known = external.trashFilesAtPath(volumePath);
        state.items = known ? static_cast<int>(known->size()) : 0;
        return state;
    }
    const auto folders = external.itemFoldersAtPath(volumePath);
    state.folders = folderPaths(folders);
    state.items = TrashBooks::rootItemCountOf(folders);
    return state;
}

TrashSnapshot takeSnapshot(const Internal& internal, const External& external, std::optional<TimePoint> lastAutoDelete,
                           bool passRunning)
{
    TrashSnapshot snapshot;
    snapshot.trashes.push_back(homeTrashState(internal));
    for (const auto& path : external.volumePaths())
        snapshot.trashes.push_back(volumeTrashState(external, path));
    snapshot.lastAutoDelete = lastAutoDelete;
    snapshot.passRunning = passRunning;
    return snapshot;
}

int TrashSnapshot::totalItems() const
{
    int items = 0;
    for (const auto& trash : trashes)
        items += trash.items;
    return items;
}

double TrashSnapshot::totalBytes() const
{
    double bytes = 0.0;
    for (const auto& trash : trashes)
        bytes += trash.bytes;
    return bytes;
}

std::string snapshotJson(const TrashSnapshot& snapshot)
{
    std::string json = "{\"trashes\":[";
    for (size_t i = 0; i < snapshot.trashes.size(); ++i) {
        const TrashState& t = snapshot.trashes[i];
        std::string folders;
        for (const auto& folder : t.folders)
            folders += (folders.empty() ? "" : ",") + jsonString(folder);
        std::string next = "null";
        if (t.next) {
            const std::string trashedOn = t.next->trashedOn ? "\"" + isoDate(*t.next->trashedOn) + "\"" : "null";
            next = strprintf("{\"name\":%s,\"originalLocation\":%s,\"trashedOn\":%s,\"bytes\":%s}",
                             jsonString(t.next->name).c_str(), jsonString(t.next->originalLocation).c_str(),
                             trashedOn.c_str(), jsonNumber(t.next->bytes).c_str());
        }
        std::string rules;
        for (const auto& take : t.wouldDelete)
            rules += strprintf("%s{\"rule\":%s,\"items\":%d,\"bytes\":%s}", rules.empty() ? "" : ",",
                               jsonString(take.rule).c_str(), take.items, jsonNumber(take.bytes).c_str());
        json += strprintf("%s{\"name\":%s,\"mountPoint\":%s,\"folders\":[%s],\"items\":%d,\"bytes\":%s,"
                          "\"capacity\":%s,\"free\":%s,\"minimumFree\":%s,\"short\":%s,\"status\":\"%s\","
                          "\"measuring\":%s,\"answering\":%s,\"overwrites\":%s,\"next\":%s,\"wouldDelete\":[%s]}",
                          i ? "," : "", jsonString(t.name).c_str(), jsonString(t.mountPoint).c_str(),
                          folders.c_str(), t.items, jsonNumber(t.bytes).c_str(), jsonNumber(t.capacity).c_str(),
                          jsonNumber(t.free).c_str(), jsonNumber(t.minimumFree).c_str(),
                          t.shortOfSpace ? "true" : "false", statusWord(t.status), t.measuring ? "true" : "false",
                          t.answering ? "true" : "false", t.copyOnWrite ? "false" : "true", next.c_str(), rules.c_str());
    }
    const std::string last = snapshot.lastAutoDelete ? "\"" + isoDate(*snapshot.lastAutoDelete) + "\"" : "null";
    return json + strprintf("],\"lastAutoDelete\":%s,\"passRunning\":%s}\n", last.c_str(),
                            snapshot.passRunning ? "true" : "false");
}

std::string readableSize(double bytes)
{
    static const char* const units[] = {"KB", "MB", "GB", "TB", "PB"};
    if (!(bytes >= 1024.0))
        return strprintf("%.0f bytes", std::max(bytes, 0.0));
    int unit = 0;
    bytes /= 1024.0;
    while (bytes >= 1024.0 && unit < 4) {
        bytes /= 1024.0;
        ++unit;
    }
    return strprintf("%.1f %s", bytes, units[unit]);
}

std::string fittedColumn(const std::string& text, size_t width)
{
    // Both ends tell names apart ("/media/alice/…/USB"): the ellipsis takes the middle.
    std::string fitted = middleShortened(text, width);
    return fitted + std::string(width - std::min(width, characterCount(fitted)), ' ');
}

std::string snapshotTable(const TrashSnapshot& snapshot, Strings& strings)
{
    const std::vector<std::string> headings = {strings.localized("TRASH"), strings.localized("MOUNT POINT"),
                                               strings.localized("ITEMS"), strings.localized("SIZE"),
                                               strings.localized("FREE"),  strings.localized("MINIMUM"),
                                               strings.localized("STATE")};
    // The names' columns are shortened to their width; a figure's column grows with its heading
    // in the user's language.
    size_t widths[] = {16, 24, 7, 10, 10, 10};
    for (size_t i = 2; i < std::size(widths); ++i)
        widths[i] = std::max(widths[i], characterCount(headings[i]));
    const auto row = [&widths](const std::vector<std::string>& cells) {
        std::string line = fittedColumn(cells[0], widths[0]) + " " + fittedColumn(cells[1], widths[1]);
        for (size_t i = 2; i < std::size(widths); ++i)
            line += " " + std::string(widths[i] - std::min(widths[i], characterCount(cells[i])), ' ') + cells[i];
        return line + "  " + cells[6] + "\n";
    };
    std::string table = row(headings);
    const auto size = [&strings](double bytes) { return strings.localFigure(readableSize(bytes)); };
    for (const TrashState& t : snapshot.trashes) {
        std::string state = strings.localized(statusWord(t.status));
        if (t.measuring && t.status != kMeasuring)
            state += ", " + strings.localized("measuring");
        if (t.shortOfSpace)
            state += ", " + strings.localized("short of space");
        if (!t.answering)
            state += ", " + strings.localized("not answering");
        if (t.copyOnWrite)
            state += ", " + strings.localized("removed without overwriting (copy-on-write)");
        table += row({escapeControlCharacters(t.name), escapeControlCharacters(t.mountPoint),
                      strings.localFigure(std::to_string(t.items)), size(t.bytes), size(t.free), size(t.minimumFree),
                      state});
    }
    if (snapshot.lastAutoDelete) {
        const std::string when = localDateText(*snapshot.lastAutoDelete, "%Y-%m-%d %H:%M");
        table += localizedWith(strings, "Last automatic deletion: %1", {when}) + "\n";
    } else {
        table += strings.localized("Last automatic deletion: none") + "\n";
    }
    table += strings.localized(snapshot.passRunning ? "A deletion pass is running." : "No deletion pass is running.");
    table += "\n";
    return table;
}

} // namespace bw
