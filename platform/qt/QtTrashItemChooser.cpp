#include "platform/qt/QtTrashItemChooser.h"

#include "platform/qt/AccessibleNames.h"
#include "platform/qt/QtStrings.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QLocale>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <set>

namespace bw::qt {

namespace {

enum Column { kName, kSize, kVolume, kKind, kTrashed, kOrigin, kColumns };

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

// The date trashed as the user writes dates.
QString dateText(const TrashItemRow& row)
{
    if (!row.trashed)
        return QString::fromStdString(row.trashedText);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(row.trashed->time_since_epoch()).count();
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

QList<QStandardItem*> lineOf(const TrashItemRow& row, size_t index)
{
    const QString name = fromBytes(row.name);
    const QString origin = fromBytes(row.originalLocation);
    const QString volume = fromBytes(row.volume);
    QList<QStandardItem*> line{
        cell(name, name.toLower()),
        cell(QtStrings::shown(row.sizeText), row.size, Qt::AlignRight),
        cell(volume, volume.toLower()),
        cell(QString::fromStdString(row.kindText), QString::fromStdString(row.kindText)),
        // The rows come oldest first, undated ones last: that order is the date's.
        cell(dateText(row), static_cast<qulonglong>(index)),
        cell(origin, origin),
    };
    line.front()->setData(static_cast<qulonglong>(index), kRowRole);
    line.front()->setToolTip(fromBytes(row.path));
    line.back()->setToolTip(origin);
    return line;
}

// The heading line of one trash's group: not a choice of its own.
QList<QStandardItem*> groupOf(const QString& trash, size_t order)
{
    QList<QStandardItem*> line;
    for (int column = 0; column < kColumns; ++column) {
        auto* item = cell(column == kName ? trash : QString(), static_cast<qulonglong>(order));
        item->setFlags(Qt::ItemIsEnabled);
        line.append(item);
    }
    QFont bold = line.front()->font();
    bold.setBold(true);
    line.front()->setFont(bold);
    line.front()->setAccessibleText(trash);
    return line;
}

// One line per item; items of several trashes go under a heading for each trash.
QStandardItemModel* modelOf(const TrashItemChooserContent& content, QObject* parent)
{
    auto* model = new QStandardItemModel(0, kColumns, parent);
    model->setHorizontalHeaderLabels({QObject::tr("Name"), QObject::tr("Size"), QObject::tr("Volume"),
                                      QObject::tr("Kind"), QObject::tr("Date Trashed"),
                                      QObject::tr("Original Location")});
    model->setSortRole(kSortRole);
    QStringList trashes;
    for (const TrashItemRow& row : content.rows)
        if (!trashes.contains(fromBytes(row.trash)))
            trashes.append(fromBytes(row.trash));
    if (trashes.size() <= 1) {
        for (size_t i = 0; i < content.rows.size(); ++i)
            model->appendRow(lineOf(content.rows[i], i));
        return model;
    }
    for (qsizetype group = 0; group < trashes.size(); ++group) {
        const QList<QStandardItem*> heading = groupOf(trashes[group], static_cast<size_t>(group));
        for (size_t i = 0; i < content.rows.size(); ++i)
            if (fromBytes(content.rows[i].trash) == trashes[group])
                heading.front()->appendRow(lineOf(content.rows[i], i));
        model->appendRow(heading);
    }
    return model;
}

QTreeView* viewOf(QStandardItemModel* model, QWidget* parent)
{
    auto* view = new QTreeView(parent);
    view->setObjectName(QStringLiteral("itemList"));
    view->setModel(model);
    view->setAccessibleName(QObject::tr("Trash items"));
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
    view->expandAll();
    for (int column : {kSize, kVolume, kKind, kTrashed})
        view->resizeColumnToContents(column);
    header->resizeSection(kName, std::max(header->sectionSize(kName), 240));
    return view;
}

// Chooses again the rows of a choice kept from before.
void keepChoice(QTreeView& view, const QStandardItemModel& model, const TrashItemChooserContent& content)
{
    if (content.chosen.empty())
        return;
    const std::set<std::string> chosen(content.chosen.begin(), content.chosen.end());
    QItemSelection selection;
    const std::function<void(const QModelIndex&)> visit = [&](const QModelIndex& parent) {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, kName, parent);
            const QVariant line = index.data(kRowRole);
            if (line.isValid() && line.value<qulonglong>() < content.rows.size() &&
                chosen.count(content.rows[line.value<qulonglong>()].path))
                selection.select(index, index);
            visit(index);
        }
    };
    visit(QModelIndex());
    view.selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
    accept->setAccessibleName(QString::fromStdString(content.prompt));
    buttons->button(QDialogButtonBox::Cancel)->setText(QObject::tr("Cancel"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QObject::tr("Cancel"));
    keepChoice(*view, *model, content);

    giveAccessibleNames(dialog);
    dialog.resize(860, 440);
    dialog_ = &dialog;
    const int result = dialog.exec();
    dialog_ = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    std::vector<size_t> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows(kName))
        if (index.data(kRowRole).isValid())
            rows.push_back(index.data(kRowRole).value<qulonglong>());
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> chosen;
    for (size_t row : rows)
        if (row < content.rows.size())
            chosen.push_back(content.rows[row].path);
    return chosen;
}

} // namespace bw::qt
