#pragma once
#include "platform/Clock.h"

#include <optional>
#include <string>
#include <vector>

namespace bw {

// One root item of the trash as the chooser shows it. The texts are shown as they are;
// `path` is what comes back when the row is chosen.
struct TrashItemRow {
    std::string path;
    std::string name;
    double size = 0.0; // bytes, for sorting
    std::string sizeText;
    std::string kindText;
    std::optional<TimePoint> trashed;
    std::string trashedText;       // empty when the date is unknown
    std::string originalLocation;  // empty when unknown
    std::string trash;  // the trash the item lies in, by which the rows are grouped
    std::string volume; // the volume's name, for its column
};

struct TrashItemChooserContent {
    std::string title;   // says what the accept button does
    std::string prompt;  // the accept button
    std::string message; // a note beside the list
    std::vector<TrashItemRow> rows; // oldest first within each trash
    std::vector<std::string> chosen; // paths chosen when the chooser opens (a choice kept)
};

// A modal, read-only list of trash items from which several may be chosen. It deletes,
// renames and creates nothing itself.
class TrashItemChooser {
public:
    virtual ~TrashItemChooser() = default;
    // The paths of the chosen rows, in the order of `content.rows`; none when the user
    // cancelled. Rows of several trashes are grouped by trash and may be chosen together.
    virtual std::optional<std::vector<std::string>> runModal(const TrashItemChooserContent& content) = 0;
};

} // namespace bw
