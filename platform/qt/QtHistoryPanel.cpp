#include "platform/qt/QtHistoryPanel.h"

#include "ui_QtHistoryPanel.h"

#include <QHeaderView>

namespace bw::qt {

namespace {

const char* const kColumnTitles[] = {"Deleted", "Trash", "Original location", "Path in the trash",
                                     "Size", "Trashed", "Reason", "Result"};
constexpr int kColumns = static_cast<int>(std::size(kColumnTitles));

const std::string& columnOf(const HistoryLine& line, int column)
{
    switch (column) {
    case 0:
        return line.when;
    case 1:
        return line.trash;
    case 2:
        return line.originalLocation;
    case 3:
        return line.path;
    case 4:
        return line.size;
    case 5:
        return line.trashedOn;
    case 6:
        return line.reason;
    default:
        return line.result;
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
    const std::string& text = columnOf(lines_[static_cast<size_t>(index.row())], index.column());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (role == Qt::TextAlignmentRole && index.column() == 4)
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
    }
}

void QtHistoryPanel::setStatusText(const std::string& text)
{
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
    shown_ = true;
    show();
    raise();
    activateWindow();
}

} // namespace bw::qt
