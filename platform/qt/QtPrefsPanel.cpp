#include "platform/qt/QtPrefsPanel.h"

#include "ui_QtPrefsPanel.h"

#include <algorithm>

namespace bw::qt {

namespace {

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

QtPrefsPanel::QtPrefsPanel(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::PrefsPanel>())
{
    ui_->setupUi(this);
    connectControls();
}

QtPrefsPanel::~QtPrefsPanel()
{
    // Hiding at destruction must not reach a controller that may be gone already.
    disconnect(this, &QDialog::finished, nullptr, nullptr);
}

void QtPrefsPanel::connectControls()
{
    // Only the user's edits are forwarded: textEdited and clicked never fire for the
    // values the controller sets.
    const auto forward = [this](void (PrefsPanelActions::*action)()) {
        return [this, action] {
            if (actions_)
                (actions_->*action)();
        };
    };
    connect(ui_->miniRatioText, &QLineEdit::textEdited, this, forward(&PrefsPanelActions::actMiniRatioText));
    connect(ui_->intervalText, &QLineEdit::textEdited, this, forward(&PrefsPanelActions::actIntervalText));
    connect(ui_->testModeCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actTestModeCheck));
    connect(ui_->shredderCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actShredderCheck));
    connect(ui_->noRenameCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actNoRenameCheck));
    connect(ui_->execButton, &QPushButton::clicked, this, forward(&PrefsPanelActions::actExecButton));
    connect(ui_->cancelButton, &QPushButton::clicked, this, forward(&PrefsPanelActions::actCancelButton));
    // Closing by any means (buttons, Escape, the title bar) ends in finished().
    connect(this, &QDialog::finished, this, forward(&PrefsPanelActions::windowWillClose));
    connect(ui_->miniRatioStepUp, &QToolButton::clicked, this, [this] { step(kStepperIncrement); });
    connect(ui_->miniRatioStepDown, &QToolButton::clicked, this, [this] { step(-kStepperIncrement); });
}

void QtPrefsPanel::step(double by)
{
    setMiniRatioStepper(stepper_ + by);
    if (actions_)
        actions_->actMiniRatioStepper();
}

void QtPrefsPanel::setTotalSizeText(const std::string& s)
{
    ui_->totalSizeText->setText(text(s));
}

void QtPrefsPanel::setFullSizeText(const std::string& s)
{
    ui_->fullSizeText->setText(text(s));
}

void QtPrefsPanel::setMiniSizeText(const std::string& s)
{
    ui_->miniSizeText->setText(text(s));
}

std::string QtPrefsPanel::miniRatioText() const
{
    return ui_->miniRatioText->text().toStdString();
}

void QtPrefsPanel::setMiniRatioText(const std::string& s)
{
    ui_->miniRatioText->setText(text(s));
}

std::string QtPrefsPanel::intervalText() const
{
    return ui_->intervalText->text().toStdString();
}

void QtPrefsPanel::setIntervalText(const std::string& s)
{
    ui_->intervalText->setText(text(s));
}

void QtPrefsPanel::setMiniRatioStepper(double percent)
{
    stepper_ = std::clamp(percent, kStepperMinimum, kStepperMaximum);
}

QCheckBox* QtPrefsPanel::checkBox(Check box) const
{
    switch (box) {
    case Check::TestMode:
        return ui_->testModeCheck;
    case Check::Shredder:
        return ui_->shredderCheck;
    case Check::NoRename:
        return ui_->noRenameCheck;
    }
    return nullptr;
}

QLabel* QtPrefsPanel::noteLabel(Note note) const
{
    switch (note) {
    case Note::Ratio:
        return ui_->noteRatioText;
    case Note::Interval:
        return ui_->noteIntervalText;
    case Note::TestMode:
        return ui_->noteTestText;
    case Note::Shredder:
        return ui_->noteShredderText;
    case Note::NoRename:
        return ui_->noteNoRenameText;
    }
    return nullptr;
}

bool QtPrefsPanel::isChecked(Check box) const
{
    return checkBox(box)->isChecked();
}

void QtPrefsPanel::setChecked(Check box, bool ticked)
{
    checkBox(box)->setChecked(ticked);
}

void QtPrefsPanel::setNoteShown(Note note, bool shown)
{
    noteLabel(note)->setVisible(shown);
}

void QtPrefsPanel::setExecButtonEnabled(bool enabled)
{
    ui_->execButton->setEnabled(enabled);
}

std::string QtPrefsPanel::frameText() const
{
    // A panel never shown has only a made-up frame, not one worth restoring.
    return shown_ ? saveGeometry().toBase64().toStdString() : std::string();
}

void QtPrefsPanel::setFrameText(const std::string& frame)
{
    restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(frame)));
}

void QtPrefsPanel::showPanel()
{
    shown_ = true;
    show();
    raise();
    activateWindow();
}

void QtPrefsPanel::closePanel()
{
    close();
}

} // namespace bw::qt
