#include "platform/qt/QtHistoryPanel.h"

#include "ui_QtHistoryPanel.h"

#include <QBrush>
#include <QHeaderView>
#include <QScreen>
#include <algorithm>

namespace bw::qt {

namespace {

// The short columns first, so that the paths, however long, hide none of them.
const char* const kColumnTitles[] = {
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Deleted"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Reason"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Result"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Size"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Trashed"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Trash"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Original location"),
    QT_TRANSLATE_NOOP("bw::qt::HistoryTableModel", "Path in the trash")};
constexpr int kColumns = static_cast<int>(std::size(kColumnTitles));
constexpr int kResultColumn = 2;
constexpr int kSizeColumn = 3;
// No column takes more than this share of the table's width when the columns are fitted.
constexpr double kWidestShare = 0.45;

const std::string& columnOf(const HistoryLine& line, int column)
{
    switch (column) {
    case 0:
        return line.when;
    case 1:
        return line.reason;
    case kResultColumn:
        return line.result;
    case kSizeColumn:
        return line.size;
    case 4:
        return line.trashedOn;
    case 5:
        return line.trash;
    case 6:
        return line.originalLocation;
    default:
        return line.path;
    }
}

} // namespace

void HistoryTableModel::setLines(std::vector<HistoryLine> lines)
{
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns)
        return {};
    const HistoryLine& line = lines_[static_cast<size_t>(index.row())];
    const std::string& text = columnOf(line, index.column());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // A failure stands out from the many deletions around it.
    if (role == Qt::ForegroundRole && index.column() == kResultColumn && !line.deleted)
        return QBrush(Qt::darkRed);
    if (role == Qt::TextAlignmentRole && index.column() == kSizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    return tr(kColumnTitles[section]);
}

QtHistoryPanel::QtHistoryPanel(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::HistoryPanel>())
{
    ui_->setupUi(this);
    ui_->table->setModel(&model_);
    ui_->table->verticalHeader()->hide();
    ui_->table->horizontalHeader()->setStretchLastSection(true);
    ui_->table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Rows of one line each: a row's height never depends on its text, so 100,000 rows scroll
    // without measuring every one.
    ui_->table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui_->table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + fontMetrics().height() / 2);
    // A long path keeps its start and its name.
    ui_->table->setTextElideMode(Qt::ElideMiddle);
    connect(ui_->filterField, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (actions_)
            actions_->filterChanged(text.toStdString());
    });
    connect(ui_->refreshButton, &QPushButton::clicked, this, [this] {
        if (actions_)
            actions_->actRefresh();
    });
    connect(ui_->closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::finished, this, [this] {
        if (actions_)
            actions_->windowWillClose();
    });
}

QtHistoryPanel::~QtHistoryPanel() = default;

void QtHistoryPanel::setLines(const std::vector<HistoryLine>& lines)
{
    model_.setLines(lines);
    // The columns fit their first lines once; later the user's widths stay.
    if (!sized_ && !lines.empty()) {
        sized_ = true;
        ui_->table->resizeColumnsToContents();
        const int widest = static_cast<int>(ui_->table->viewport()->width() * kWidestShare);
        for (int column = 0; column < kColumns; ++column)
            ui_->table->setColumnWidth(column, std::min(ui_->table->columnWidth(column), widest));
    }
}

void QtHistoryPanel::setStatusText(const std::string& text)
{
    // Already in the user's language: the controller puts it together from translated texts.
    ui_->statusLabel->setText(QString::fromStdString(text));
}

std::string QtHistoryPanel::frameText() const
{
    // A window never shown has only a made-up frame, not one worth restoring.
    return shown_ ? saveGeometry().toBase64().toStdString() : std::string();
}

void QtHistoryPanel::setFrameText(const std::string& frame)
{
    restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(frame)));
}

void QtHistoryPanel::showPanel()
{
    // On a small or densely scaled screen the window fits it, buttons and all.
    if (const QScreen* shownOn = screen()) {
        const QSize room = shownOn->availableSize();
        if (width() > room.width() || height() > room.height())
            resize(std::min(width(), room.width()), std::min(height(), room.height()));
    }
    shown_ = true;
    show();
    raise();
    activateWindow();
}

} // namespace bw::qt
