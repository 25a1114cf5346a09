#pragma once
#include "platform/TrashItemChooser.h"

#include <QDialog>

class QDialogButtonBox;
class QStandardItemModel;
class QTreeView;

namespace bw::qt {

// The trash item chooser: a read-only table of the rows it is given (name, size, kind,
// date trashed, original location), sortable by any column and at first oldest first, of
// which several may be chosen. It has no delete, rename or new-folder action of its own;
// its accept button stays off while nothing is chosen.
class QtTrashItemChooser final : public TrashItemChooser {
public:
    std::optional<std::vector<std::string>> runModal(const TrashItemChooserContent& content) override;

    // The dialog while runModal() runs; null otherwise.
    QDialog* dialog() const { return dialog_; }

private:
    QDialog* dialog_ = nullptr; // lives on runModal()'s stack
};

} // namespace bw::qt
