#pragma once
#include "accounting/TrashBooks.h"
#include "platform/TrashItemChooser.h"

#include <optional>
#include <vector>

namespace bw {

class Strings;

// The rows of the trash item chooser: every root item of `folders`, oldest first (an item
// without a date last, in listing order), with its measured size from `table` (keyed as
// the books key their items), measured afresh when the table has none, and its original
// location where its layout keeps one.
std::vector<TrashItemRow> trashItemRows(const std::vector<ItemFolder>& folders, const std::optional<TrashFiles>& table,
                                        Strings& strings);

} // namespace bw
