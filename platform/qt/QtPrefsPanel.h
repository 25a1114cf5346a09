#pragma once
#include "platform/PrefsPanelView.h"

#include <QDialog>
#include <QLocale>
#include <memory>

class QCheckBox;
class QDoubleValidator;
class QLabel;

namespace Ui {
class PrefsPanel;
}

namespace bw::qt {

// The preferences panel from its layout: it shows what Preferences gives it and forwards
// every edit and click there. The stepper beside the ratio field keeps its own value, in
// percent, as a stepper does.
class QtPrefsPanel final : public QDialog, public PrefsPanelView {
    Q_OBJECT
public:
    explicit QtPrefsPanel(QWidget* parent = nullptr);
    ~QtPrefsPanel() override;

    void setActions(PrefsPanelActions* actions) override { actions_ = actions; }
    void setTotalSizeText(const std::string& text) override;
    void setFullSizeText(const std::string& text) override;
    void setMiniSizeText(const std::string& text) override;
    std::string miniRatioText() const override;
    void setMiniRatioText(const std::string& text) override;
    std::string intervalText() const override;
    void setIntervalText(const std::string& text) override;
    double miniRatioStepper() const override { return stepper_; }
    void setMiniRatioStepper(double percent) override;
    MinimumUnit minimumUnit() const override;
    void setMinimumUnit(MinimumUnit unit) override;
    std::string ageDaysText() const override;
    void setAgeDaysText(const std::string& text) override;
    std::string trashCapText() const override;
    void setTrashCapText(const std::string& text) override;
    bool isChecked(Check box) const override;
    void setChecked(Check box, bool ticked) override;
    void setNoteShown(Note note, bool shown) override;
    void setExecButtonEnabled(bool enabled) override;
    void setProblemText(const std::string& text) override;
    std::string frameText() const override;
    void setFrameText(const std::string& frame) override;
    void showPanel() override;
    void closePanel() override;

    // The stepper's range and increment, in percent.
    static constexpr double kStepperMinimum = 0.0;
    static constexpr double kStepperMaximum = 99.0;
    static constexpr double kStepperIncrement = 1.0;
    // The largest minimum given as a size, in GB.
    static constexpr double kLargestGigabytes = 1048576.0;

private:
    void connectControls();
    // The minimum field and its stepper take what the unit allows.
    void fitMinimumToUnit();
    void step(double by);
    QCheckBox* checkBox(Check box) const;
    QLabel* noteLabel(Note note) const;
    // Grows the panel to the height its wrapped notes need at its width.
    void fitToNotes();
    // A number typed in the user's locale, in the "C" form; the text itself when it is none.
    std::string numberFromField(const QString& typed) const;
    QString numberForField(const std::string& number) const;

    std::unique_ptr<Ui::PrefsPanel> ui_;
    PrefsPanelActions* actions_ = nullptr;
    bool shown_ = false;
    double stepper_ = 0.0;
    QDoubleValidator* ratioValidator_ = nullptr;
    QLocale locale_;
};

} // namespace bw::qt
