#include "platform/qt/QtPrefsPanel.h"

#include "ui_QtPrefsPanel.h"

#include "platform/qt/AccessibleNames.h"
#include "platform/qt/QtStrings.h"

#include <QDoubleValidator>

#include <algorithm>
#include <charconv>

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
    // Every control named for a screen reader, also those the layout gives no label.
    giveAccessibleNames(*this);
    // Numbers as the user writes them ("7,5" in German), without thousands separators.
    locale_.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    // The validators keep out what can never be a number; the controller says what is out
    // of range and keeps Apply disabled meanwhile.
    ratioValidator_ = new QDoubleValidator(0.0, kStepperMaximum, 2, ui_->miniRatioText);
    auto* interval = new QDoubleValidator(0.0, 86400.0, 3, ui_->intervalText);
    auto* ageDays = new QDoubleValidator(0.0, 36500.0, 2, ui_->ageDaysText);
    auto* trashCap = new QDoubleValidator(0.0, kStepperMaximum, 2, ui_->trashCapText);
    for (QDoubleValidator* validator : {ratioValidator_, interval, ageDays, trashCap}) {
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(locale_);
    }
    ui_->miniRatioText->setValidator(ratioValidator_);
    ui_->intervalText->setValidator(interval);
    ui_->ageDaysText->setValidator(ageDays);
    ui_->trashCapText->setValidator(trashCap);
    ui_->noteProblemText->hide();
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
    connect(ui_->ageDaysText, &QLineEdit::textEdited, this, forward(&PrefsPanelActions::actAgeDaysText));
    connect(ui_->trashCapText, &QLineEdit::textEdited, this, forward(&PrefsPanelActions::actTrashCapText));
    // activated, unlike currentIndexChanged, comes from the user alone.
    connect(ui_->miniUnitChoice, &QComboBox::activated, this, [this] {
        fitMinimumToUnit();
        if (actions_)
            actions_->actMinimumUnit();
    });
    connect(ui_->testModeCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actTestModeCheck));
    connect(ui_->shredderCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actShredderCheck));
    connect(ui_->noRenameCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actNoRenameCheck));
    connect(ui_->startAtLoginCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actStartAtLoginCheck));
    connect(ui_->notificationsCheck, &QCheckBox::clicked, this, forward(&PrefsPanelActions::actNotificationsCheck));
    connect(ui_->confirmShreddingCheck, &QCheckBox::clicked, this,
            forward(&PrefsPanelActions::actConfirmShreddingCheck));
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

std::string QtPrefsPanel::numberFromField(const QString& typed) const
{
    bool ok = false;
    const double value = locale_.toDouble(typed.trimmed(), &ok);
    if (!ok)
        return typed.toStdString();
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

QString QtPrefsPanel::numberForField(const std::string& number) const
{
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        return text(number);
    return locale_.toString(value, 'f', QLocale::FloatingPointShortest);
}

std::string QtPrefsPanel::miniRatioText() const
{
    return numberFromField(ui_->miniRatioText->text());
}

void QtPrefsPanel::setMiniRatioText(const std::string& s)
{
    ui_->miniRatioText->setText(numberForField(s));
}

std::string QtPrefsPanel::intervalText() const
{
    return numberFromField(ui_->intervalText->text());
}

void QtPrefsPanel::setIntervalText(const std::string& s)
{
    ui_->intervalText->setText(numberForField(s));
}

void QtPrefsPanel::setMiniRatioStepper(double value)
{
    stepper_ = std::clamp(value, kStepperMinimum,
                          minimumUnit() == MinimumUnit::Gigabytes ? kLargestGigabytes : kStepperMaximum);
}

PrefsPanelView::MinimumUnit QtPrefsPanel::minimumUnit() const
{
    return ui_->miniUnitChoice->currentIndex() == 1 ? MinimumUnit::Gigabytes : MinimumUnit::Percent;
}

void QtPrefsPanel::setMinimumUnit(MinimumUnit unit)
{
    ui_->miniUnitChoice->setCurrentIndex(unit == MinimumUnit::Gigabytes ? 1 : 0);
    fitMinimumToUnit();
}

void QtPrefsPanel::fitMinimumToUnit()
{
    const bool gigabytes = minimumUnit() == MinimumUnit::Gigabytes;
    ratioValidator_->setTop(gigabytes ? kLargestGigabytes : kStepperMaximum);
    setMiniRatioStepper(stepper_);
}

std::string QtPrefsPanel::ageDaysText() const
{
    return numberFromField(ui_->ageDaysText->text());
}

void QtPrefsPanel::setAgeDaysText(const std::string& s)
{
    ui_->ageDaysText->setText(numberForField(s));
}

std::string QtPrefsPanel::trashCapText() const
{
    return numberFromField(ui_->trashCapText->text());
}

void QtPrefsPanel::setTrashCapText(const std::string& s)
{
    ui_->trashCapText->setText(numberForField(s));
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
    case Check::StartAtLogin:
        return ui_->startAtLoginCheck;
    case Check::Notifications:
        return ui_->notificationsCheck;
    case Check::ConfirmShredding:
        return ui_->confirmShreddingCheck;
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
    if (noteLabel(note)->isVisibleTo(this) == shown)
        return;
    noteLabel(note)->setVisible(shown);
    fitToNotes();
}

void QtPrefsPanel::setExecButtonEnabled(bool enabled)
{
    ui_->execButton->setEnabled(enabled);
}

void QtPrefsPanel::setProblemText(const std::string& s)
{
    const QString shown = QtStrings::shown(s);
    if (ui_->noteProblemText->text() == shown && ui_->noteProblemText->isVisibleTo(this) == !shown.isEmpty())
        return;
    ui_->noteProblemText->setText(shown);
    ui_->noteProblemText->setVisible(!shown.isEmpty());
    fitToNotes();
}

void QtPrefsPanel::fitToNotes()
{
    // A wrapped note needs more lines than its one-line minimum: the window's layout does
    // not grow a window for that by itself, and would squeeze the note instead.
    // Measured at the width the panel has on screen; a hidden panel's width is made up.
    if (!isVisible())
        return;
    QLayout* panelLayout = layout();
    panelLayout->invalidate();
    panelLayout->activate();
    const int needed = panelLayout->hasHeightForWidth() ? panelLayout->totalHeightForWidth(width())
                                                        : panelLayout->totalSizeHint().height();
    setMinimumHeight(needed);
    if (height() < needed)
        resize(width(), needed);
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
    fitToNotes();
    raise();
    activateWindow();
}

void QtPrefsPanel::closePanel()
{
    close();
}

} // namespace bw::qt
