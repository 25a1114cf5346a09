#include "platform/qt/QtTrashItemChooser.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace bw::qt {

namespace {

enum Column { kName, kSize, kKind, kTrashed, kOrigin, kColumns };

// What each column sorts by, and which row of the content a line shows.
constexpr int kSortRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1;

// Names and paths are bytes in the file system's encoding.
QString fromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QStandardItem* cell(const QString& text, const QVariant& sortKey, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(sortKey, kSortRole);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

QStandardItemModel* modelOf(const TrashItemChooserContent& content, QObject* parent)
{
    auto* model = new QStandardItemModel(0, kColumns, parent);
    model->setHorizontalHeaderLabels({QObject::tr("Name"), QObject::tr("Size"), QObject::tr("Kind"),
                                      QObject::tr("Date Trashed"), QObject::tr("Original Location")});
    model->setSortRole(kSortRole);
    for (size_t i = 0; i < content.rows.size(); ++i) {
        const TrashItemRow& row = content.rows[i];
        const QString name = fromBytes(row.name);
        const QString origin = fromBytes(row.originalLocation);
        QList<QStandardItem*> line{
            cell(name, name.toLower()),
            cell(QString::fromStdString(row.sizeText), row.size, Qt::AlignRight),
            cell(QString::fromStdString(row.kindText), QString::fromStdString(row.kindText)),
            // The rows come oldest first, undated ones last: that order is the date's.
            cell(QString::fromStdString(row.trashedText), static_cast<qulonglong>(i)),
            cell(origin, origin),
        };
        line.front()->setData(static_cast<qulonglong>(i), kRowRole);
        line.front()->setToolTip(fromBytes(row.path));
        line.back()->setToolTip(origin);
        model->appendRow(line);
    }
    return model;
}

QTreeView* viewOf(QStandardItemModel* model, QWidget* parent)
{
    auto* view = new QTreeView(parent);
    view->setObjectName(QStringLiteral("itemList"));
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    // A long location keeps both its top folders and the folder the item was in.
    view->setTextElideMode(Qt::ElideMiddle);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Shows and chooses, nothing more: no editing, no menu, no dragging out.
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setDragEnabled(false);
    view->setSortingEnabled(true);
    view->sortByColumn(kTrashed, Qt::AscendingOrder);
    QHeaderView* header = view->header();
    header->setStretchLastSection(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int column : {kSize, kKind, kTrashed})
        view->resizeColumnToContents(column);
    header->resizeSection(kName, std::max(header->sectionSize(kName), 240));
    return view;
}

} // namespace

std::optional<std::vector<std::string>> QtTrashItemChooser::runModal(const TrashItemChooserContent& content)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("TrashItemChooser"));
    dialog.setWindowTitle(QString::fromStdString(content.title));
    auto* layout = new QVBoxLayout(&dialog);
    if (!content.message.empty()) {
        auto* note = new QLabel(QString::fromStdString(content.message), &dialog);
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    QStandardItemModel* model = modelOf(content, &dialog);
    QTreeView* view = viewOf(model, &dialog);
    layout->addWidget(view);

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    QPushButton* accept = buttons->addButton(QString::fromStdString(content.prompt), QDialogButtonBox::AcceptRole);
    accept->setObjectName(QStringLiteral("acceptButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    // Return must never shred by itself: the accept button is no default button.
    accept->setAutoDefault(false);
    accept->setDefault(false);
    accept->setEnabled(false);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, accept,
                     [view, accept] { accept->setEnabled(view->selectionModel()->hasSelection()); });

    dialog.resize(860, 440);
    dialog_ = &dialog;
    const int result = dialog.exec();
    dialog_ = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    std::vector<size_t> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows(kName))
        rows.push_back(index.data(kRowRole).value<qulonglong>());
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> chosen;
    for (size_t row : rows)
        if (row < content.rows.size())
            chosen.push_back(content.rows[row].path);
    return chosen;
}

} // namespace bw::qt
