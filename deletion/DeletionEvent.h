#pragma once
#include "platform/Clock.h"

#include <optional>
#include <string>

namespace bw {

// Why an item was deleted: the rule that chose it, or the user's command.
enum class DeletionReason {
    FreeSpace,      // its volume was below its minimum of free space
    Age,            // it was trashed longer ago than the age limit
    SizeCap,        // its trash held more than its share of the volume
    ForcedEmptying, // the user emptied the trash from the menu or the panel
    ChosenItems,    // the user chose it (chooser, copied trash items)
    CommandLine,    // `--empty-now`
};

// The word stored in the history and shown by `--history` and the History window.
const char* reasonName(DeletionReason reason);

// One root item's deletion, as every part that tells of deletions sees it: the tray's
// flashing, the information panel's file line, the pass's notification and the history all
// take it from here rather than working it out again.
struct DeletionEvent {
    TimePoint when{};
    std::string trash;      // the trash's name as the user sees it: its volume's name
    std::string volumePath; // empty: the home trash
    std::string path;       // where the item lay in the trash
    // Where it was before it was trashed (`Path=` of its description), else `path`.
    std::string originalLocation;
    double bytes = 0.0;
    std::optional<TimePoint> trashedOn;
    DeletionReason reason = DeletionReason::FreeSpace;
    bool deleted = false;
    std::string failure; // why it could not be deleted; empty when deleted
};

// Takes deletion events as they happen, on the deleting thread.
class DeletionListener {
public:
    virtual ~DeletionListener() = default;
    virtual void itemDeleted(const DeletionEvent& event) = 0;
};

} // namespace bw
