#pragma once
#include "platform/InfoPanelView.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace Ui {
class InfoPanel;
}

namespace bw::qt {

// The trash information panel from its layout: it shows what Volume gives it and forwards
// every click and menu choice there.
class QtInfoPanel final : public QDialog, public InfoPanelView {
    Q_OBJECT
public:
    explicit QtInfoPanel(QWidget* parent = nullptr);
    ~QtInfoPanel() override;

    void setActions(InfoPanelActions* actions) override { actions_ = actions; }
    void setStatusText(const std::string& text) override;
    void setFigureText(Figure figure, const std::string& text) override;
    void setShareText(Share share, const std::string& text) override;
    void setMeasuring(bool on) override;
    void setShredFileText(const std::string& text) override;
    void setNextItemText(const std::string& text) override;
    std::string overrideText(Override field) const override;
    void setOverrideText(Override field, const std::string& text) override;
    void setOverridePlaceholder(Override field, const std::string& text) override;
    void setOverrideProblemText(const std::string& text) override;
    std::vector<std::string> diskMenuTitles() const override;
    void setDiskMenuTitles(const std::vector<std::string>& titles) override;
    int selectedDiskIndex() const override;
    void selectDiskIndex(int index) override;
    void setButtonEnabled(Button button, bool enabled) override;
    void setButtonHidden(Button button, bool hidden) override;
    std::string frameText() const override;
    void setFrameText(const std::string& frame) override;
    void showPanel() override;
    void setCommands(std::vector<MenuEntry> commands, MenuValidator validate) override;

    // The button of a command's tag; null when the panel has none.
    QPushButton* commandButton(int tag) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void connectControls();
    void showShredFile();
    QLabel* figureLabel(Figure figure) const;
    QLabel* shareLabel(Share share) const;
    QPushButton* button(Button button) const;
    // `withClipboard`: the copied-items command too, which reads the clipboard.
    void validateCommands(bool withClipboard = true);
    QLineEdit* overrideField(Override field) const;

    std::unique_ptr<Ui::InfoPanel> ui_;
    InfoPanelActions* actions_ = nullptr;
    bool shown_ = false;
    QString shredFile_; // whole, while the field may show it shortened
    QWidget* commandRow_ = nullptr;
    std::vector<std::pair<int, QPushButton*>> commands_;
    MenuValidator validate_;
    QTimer* validation_ = nullptr;
};

} // namespace bw::qt
