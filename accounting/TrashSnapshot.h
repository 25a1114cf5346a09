#pragma once
#include "platform/Clock.h"

#include <optional>
#include <string>
#include <vector>

namespace bw {

class External;
class Internal;
class Strings;

// The item of a trash that goes next, oldest first.
struct NextItem {
    std::string name;
    std::string originalLocation;
    std::optional<TimePoint> trashedOn;
    double bytes = 0.0;
};

// What one rule would take from a trash now: items and bytes.
struct RuleTake {
    std::string rule; // the reason's word
    int items = 0;
    double bytes = 0.0;
};

// One trash as it stands at one moment: what the menu, the information panel and the
// command line show of it.
struct TrashState {
    std::string name;                 // the volume's name, as the disk menu shows it
    std::string mountPoint;           // where its volume is mounted
    std::vector<std::string> folders; // the item folders it is made of
    int items = 0;                    // root items, listed afresh
    double bytes = 0.0;               // its size counter; never below 0
    double capacity = 0.0;            // of its volume, in bytes
    double free = 0.0;
    double minimumFree = 0.0;
    bool shortOfSpace = false; // free space below the minimum
    int status = 0;            // a TrashStatus
    bool measuring = false;
    bool answering = true; // false while its volume has a step hung (frozen, a disk that hangs)
    // The preview, filled only where asked for (`--status --json`).
    std::optional<NextItem> next;
    std::vector<RuleTake> wouldDelete; // each rule that would delete now
    // Its volume keeps old blocks when a file is overwritten (copy-on-write): its items are
    // removed without overwriting.
    bool copyOnWrite = false;

    // What neither the trash nor free space takes; the three add up to the capacity.
    double used() const { return capacity - free - bytes; }
};

// Every watched trash, the home trash first and then each volume's in drive order, with
// the state of the automatic deletion.
struct TrashSnapshot {
    std::vector<TrashState> trashes;
    std::optional<TimePoint> lastAutoDelete;
    bool passRunning = false;

    int totalItems() const;
    double totalBytes() const;
};

TrashState homeTrashState(const Internal& internal);
TrashState volumeTrashState(const External& external, const std::string& volumePath);
// The figures alone (space, counter, status), without listing the trash or finding its
// volume: what the menu and the information panel show at each opening or refresh.
TrashState homeTrashFigures(const Internal& internal);
TrashState volumeTrashFigures(const External& external, const std::string& volumePath);
TrashSnapshot takeSnapshot(const Internal& internal, const External& external,
                           std::optional<TimePoint> lastAutoDelete, bool passRunning);

// The snapshot as one JSON object (names that are not UTF-8 keep their valid parts), and
// as a table for people, sizes in binary units.
std::string snapshotJson(const TrashSnapshot& snapshot);
// The table's words and figures are those of `strings`.
std::string snapshotTable(const TrashSnapshot& snapshot, Strings& strings);

// "3.2 GB", "512 bytes": a size in binary units with one decimal.
std::string readableSize(double bytes);
// `text` padded to `width` characters, or shortened to them in the middle with "…", so that
// a long name keeps the columns of a table aligned.
std::string fittedColumn(const std::string& text, size_t width);

} // namespace bw
