#pragma once
#include "platform/HistoryPanelView.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <memory>

namespace Ui {
class HistoryPanel;
}

namespace bw::qt {

// The lines of the History window as a table model: shown as given, never edited.
class HistoryTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setLines(std::vector<HistoryLine> lines);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<HistoryLine> lines_;
};

// The History window from its layout: a filter field, the table and a count; what is typed
// and clicked goes to the controller.
class QtHistoryPanel final : public QDialog, public HistoryPanelView {
    Q_OBJECT
public:
    explicit QtHistoryPanel(QWidget* parent = nullptr);
    ~QtHistoryPanel() override;

    void setActions(HistoryPanelActions* actions) override { actions_ = actions; }
    void setLines(const std::vector<HistoryLine>& lines) override;
    void setStatusText(const std::string& text) override;
    std::string frameText() const override;
    void setFrameText(const std::string& frame) override;
    void showPanel() override;

private:
    std::unique_ptr<Ui::HistoryPanel> ui_;
    HistoryTableModel model_;
    HistoryPanelActions* actions_ = nullptr;
    bool shown_ = false;
    bool sized_ = false;
};

} // namespace bw::qt
