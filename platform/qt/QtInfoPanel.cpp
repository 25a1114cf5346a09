#include "platform/qt/QtInfoPanel.h"

#include "ui_QtInfoPanel.h"

#include "platform/qt/AccessibleNames.h"
#include "platform/qt/QtStrings.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLocale>
#include <QSignalBlocker>
#include <QTimer>

namespace {

// How often open buttons follow the program's state (a pass that starts, a copied item).
constexpr int kValidationMilliseconds = 1000;

} // namespace

namespace bw::qt {

namespace {

// A tool tip that looks like markup is read as markup: escaped, a name shows as it is.
QString plainToolTip(const QString& text)
{
    return text.isEmpty() ? text : QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace

QtInfoPanel::QtInfoPanel(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::InfoPanel>())
{
    ui_->setupUi(this);
    // File names are anyone's choice: shown as text, never read as markup.
    ui_->shredFileText->setTextFormat(Qt::PlainText);
    ui_->nextItemText->setTextFormat(Qt::PlainText);
    // Figures, units and shares in one fixed-width font, right-aligned in their columns, so
    // the digits of every row stand under each other ("( 0.00%)" is padded for that).
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics fixedMetrics(fixed);
    for (Figure figure : {Figure::Total, Figure::Used, Figure::Trash, Figure::Free}) {
        figureLabel(figure)->setFont(fixed);
        figureLabel(figure)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figureLabel(figure)->setMinimumWidth(fixedMetrics.horizontalAdvance(QStringLiteral("00000.00")));
    }
    for (QLabel* unit : {ui_->totalSizeUnit, ui_->usedSizeUnit, ui_->trashSizeUnit, ui_->freeSizeUnit})
        unit->setFont(fixed);
    for (Share share : {Share::Used, Share::Trash, Share::Free}) {
        shareLabel(share)->setFont(fixed);
        shareLabel(share)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        shareLabel(share)->setMinimumWidth(fixedMetrics.horizontalAdvance(QStringLiteral("(100.00%) > 0")));
    }
    ui_->stopEmptyButton->hide();
    // The indicator keeps its place while hidden, so the status does not move.
    QSizePolicy policy = ui_->sizeingIndicator->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui_->sizeingIndicator->setSizePolicy(policy);
    ui_->sizeingIndicator->hide();
    ui_->diskMenuLabel->setBuddy(ui_->diskMenuButton);
    connectControls();
    giveAccessibleNames(*this);
}

QtInfoPanel::~QtInfoPanel()
{
    // Hiding at destruction must not reach a controller that may be gone already.
    disconnect(this, &QDialog::finished, nullptr, nullptr);
}

void QtInfoPanel::connectControls()
{
    const auto forward = [this](void (InfoPanelActions::*action)()) {
        return [this, action] {
            if (actions_)
                (actions_->*action)();
        };
    };
    connect(ui_->forcedEmptyButton, &QPushButton::clicked, this, forward(&InfoPanelActions::actForcedEmpty));
    connect(ui_->reinspectButton, &QPushButton::clicked, this, forward(&InfoPanelActions::actReinspect));
    connect(ui_->newinspectButton, &QPushButton::clicked, this, forward(&InfoPanelActions::actNewInspect));
    connect(ui_->forcedTimerButton, &QPushButton::clicked, this, forward(&InfoPanelActions::actForcedTimer));
    connect(ui_->stopEmptyButton, &QPushButton::clicked, this, forward(&InfoPanelActions::actStopEmpty));
    // activated fires for the user's choice only, never for the controller's selection.
    connect(ui_->diskMenuButton, &QComboBox::activated, this, forward(&InfoPanelActions::actDiskMenu));
    connect(ui_->applyOverridesButton, &QPushButton::clicked, this, forward(&InfoPanelActions::actApplyOverrides));
    for (QLineEdit* field : {ui_->overrideRatioText, ui_->overrideSizeText, ui_->overrideAgeText, ui_->overrideCapText})
        connect(field, &QLineEdit::textEdited, this, forward(&InfoPanelActions::actOverrideText));
    connect(this, &QDialog::finished, this, forward(&InfoPanelActions::windowWillClose));
}

QLabel* QtInfoPanel::figureLabel(Figure figure) const
{
    switch (figure) {
    case Figure::Total:
        return ui_->totalSizeText;
    case Figure::Used:
        return ui_->usedSizeText;
    case Figure::Trash:
        return ui_->trashSizeText;
    case Figure::Free:
        return ui_->freeSizeText;
    }
    return nullptr;
}

QLabel* QtInfoPanel::shareLabel(Share share) const
{
    switch (share) {
    case Share::Used:
        return ui_->usedRateText;
    case Share::Trash:
        return ui_->trashRateText;
    case Share::Free:
        return ui_->freeRateText;
    }
    return nullptr;
}

QPushButton* QtInfoPanel::button(Button b) const
{
    switch (b) {
    case Button::ForcedEmpty:
        return ui_->forcedEmptyButton;
    case Button::Reinspect:
        return ui_->reinspectButton;
    case Button::NewInspect:
        return ui_->newinspectButton;
    case Button::ForcedTimer:
        return ui_->forcedTimerButton;
    case Button::StopEmpty:
        return ui_->stopEmptyButton;
    case Button::ApplyOverrides:
        return ui_->applyOverridesButton;
    }
    return nullptr;
}

QLineEdit* QtInfoPanel::overrideField(Override field) const
{
    switch (field) {
    case Override::MinimumRatio:
        return ui_->overrideRatioText;
    case Override::MinimumSize:
        return ui_->overrideSizeText;
    case Override::AgeDays:
        return ui_->overrideAgeText;
    case Override::TrashCap:
        return ui_->overrideCapText;
    }
    return nullptr;
}

std::string QtInfoPanel::overrideText(Override field) const
{
    // Typed in the user's locale ("7,5"), handed on in the "C" form.
    const QString typed = overrideField(field)->text().trimmed();
    bool ok = false;
    const double value = QLocale().toDouble(typed, &ok);
    return ok ? QLocale::c().toString(value, 'g', 17).toStdString() : typed.toStdString();
}

void QtInfoPanel::setOverrideText(Override field, const std::string& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(QString::fromStdString(text), &ok);
    overrideField(field)->setText(ok ? QLocale().toString(value, 'g', QLocale::FloatingPointShortest)
                                     : QString::fromStdString(text));
}

void QtInfoPanel::setOverridePlaceholder(Override field, const std::string& text)
{
    overrideField(field)->setPlaceholderText(QtStrings::shown(text));
}

void QtInfoPanel::setOverrideProblemText(const std::string& text)
{
    ui_->overrideProblemText->setText(QtStrings::shown(text));
}

void QtInfoPanel::setNextItemText(const std::string& text)
{
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    ui_->nextItemText->setText(shown);
    ui_->nextItemText->setToolTip(plainToolTip(shown));
}

void QtInfoPanel::setStatusText(const std::string& text)
{
    ui_->trashStatusText->setText(QtStrings::shown(text));
}

void QtInfoPanel::setFigureText(Figure figure, const std::string& text)
{
    figureLabel(figure)->setText(QtStrings::localFigures(QString::fromStdString(text)));
}

void QtInfoPanel::setShareText(Share share, const std::string& text)
{
    shareLabel(share)->setText(QtStrings::localFigures(QString::fromStdString(text)));
}

void QtInfoPanel::setMeasuring(bool on)
{
    // A busy bar (range 0 to 0) animates by itself while it is shown.
    ui_->sizeingIndicator->setVisible(on);
}

void QtInfoPanel::setShredFileText(const std::string& text)
{
    // File names are bytes; invalid UTF-8 is shown with replacement characters.
    shredFile_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    ui_->shredFileText->setToolTip(plainToolTip(shredFile_));
    showShredFile();
}

void QtInfoPanel::showShredFile()
{
    // A deep path is shortened in the middle, so the panel never grows with it.
    const QLabel* field = ui_->shredFileText;
    ui_->shredFileText->setText(field->fontMetrics().elidedText(shredFile_, Qt::ElideMiddle, field->width()));
}

void QtInfoPanel::setCommands(std::vector<MenuEntry> commands, MenuValidator validate)
{
    delete commandRow_;
    commands_.clear();
    validate_ = std::move(validate);
    commandRow_ = new QWidget(this);
    commandRow_->setObjectName(QStringLiteral("commandRow"));
    auto* row = new QHBoxLayout(commandRow_);
    row->setContentsMargins(0, 0, 0, 0);
    for (auto& command : commands) {
        const QString title = QtStrings::shown(command.title);
        auto* button = new QPushButton(title, commandRow_);
        // Read out without the ellipsis that says a window follows.
        button->setAccessibleName(QString(title).remove(QChar(0x2026)));
        // Return keeps its meaning in the panel: no command runs by it.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, run = std::move(command.action)] {
            run();
            validateCommands();
        });
        commands_.emplace_back(command.tag, button);
        row->addWidget(button);
    }
    row->addStretch();
    ui_->panelLayout->addWidget(commandRow_);
    giveAccessibleNames(*this);
    if (!validation_) {
        validation_ = new QTimer(this);
        validation_->setInterval(kValidationMilliseconds);
        connect(validation_, &QTimer::timeout, this, [this] {
            // The clipboard is asked when the user comes back to the panel, not every second.
            if (isVisible())
                validateCommands(false);
            else
                validation_->stop();
        });
    }
    validateCommands();
}

QPushButton* QtInfoPanel::commandButton(int tag) const
{
    for (const auto& [commandTag, button] : commands_)
        if (commandTag == tag)
            return button;
    return nullptr;
}

void QtInfoPanel::validateCommands(bool withClipboard)
{
    if (!validate_)
        return;
    for (const auto& [tag, button] : commands_) {
        if (!withClipboard && tag == kMenuDeleteSelects)
            continue;
        const MenuItemState state = validate_(tag);
        button->setEnabled(state.enabled);
        if (state.title)
            button->setText(QtStrings::shown(*state.title).replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

bool QtInfoPanel::event(QEvent* event)
{
    // Back from the file manager, where something may have been copied.
    if (event->type() == QEvent::WindowActivate)
        validateCommands();
    return QDialog::event(event);
}

void QtInfoPanel::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    validateCommands();
    if (validation_)
        validation_->start();
}

void QtInfoPanel::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    showShredFile();
}

std::vector<std::string> QtInfoPanel::diskMenuTitles() const
{
    std::vector<std::string> titles;
    for (int i = 0; i < ui_->diskMenuButton->count(); ++i)
        titles.push_back(ui_->diskMenuButton->itemText(i).toStdString());
    return titles;
}

void QtInfoPanel::setDiskMenuTitles(const std::vector<std::string>& titles)
{
    const QSignalBlocker quiet(ui_->diskMenuButton);
    ui_->diskMenuButton->clear();
    for (const auto& title : titles)
        ui_->diskMenuButton->addItem(QString::fromStdString(title));
    ui_->diskMenuButton->setCurrentIndex(-1);
}

int QtInfoPanel::selectedDiskIndex() const
{
    return ui_->diskMenuButton->currentIndex();
}

void QtInfoPanel::selectDiskIndex(int index)
{
    const QSignalBlocker quiet(ui_->diskMenuButton);
    ui_->diskMenuButton->setCurrentIndex(index >= 0 && index < ui_->diskMenuButton->count() ? index : -1);
}

void QtInfoPanel::setButtonEnabled(Button b, bool enabled)
{
    button(b)->setEnabled(enabled);
}

void QtInfoPanel::setButtonHidden(Button b, bool hidden)
{
    button(b)->setHidden(hidden);
}

std::string QtInfoPanel::frameText() const
{
    // A panel never shown has only a made-up frame, not one worth restoring.
    return shown_ ? saveGeometry().toBase64().toStdString() : std::string();
}

void QtInfoPanel::setFrameText(const std::string& frame)
{
    restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(frame)));
}

void QtInfoPanel::showPanel()
{
    shown_ = true;
    show();
    raise();
    activateWindow();
}

} // namespace bw::qt
