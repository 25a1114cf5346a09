#include "infopanel/Volume.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "accounting/TrashSnapshot.h"
#include "manager/Manager.h"
#include "deletion/Shredder.h"
#include "finder/Utility.h"
#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/ModifierKeys.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "platform/Workers.h"
#include "privileges/Security.h"
#include "settings/Preferences.h"
#include "settings/SettingsKeys.h"

namespace bw {

namespace {

constexpr double kGigabyte = 9.313225746154785e-10; // 2^-30
constexpr Seconds kRefreshPeriod{1.0};

using Button = InfoPanelView::Button;
using Figure = InfoPanelView::Figure;
using Share = InfoPanelView::Share;

std::string gigabytesText(double bytes)
{
    return strprintf("%.2f", bytes * kGigabyte);
}

// The share of `part` in `capacity`. A capacity of 0 shows 0.00: there is nothing to divide.
std::string shareText(double part, double capacity)
{
    const float rate = capacity == 0.0 ? 0.0f : static_cast<float>(part / capacity * 100.0);
    std::string text = strprintf("(%5.2f%%)", static_cast<double>(rate));
    // A tiny part of a large disk must not read as nothing.
    // The single-precision rate against 0.01 in double, so exactly 0.01 % keeps the suffix.
    if (static_cast<double>(rate) < 0.01 && part > 0.0 && capacity != 0.0)
        text += " > 0";
    return text;
}

const char* statusKey(int status)
{
    switch (status) {
    case kStandingBy:
        return "Standingby";
    case kDeleting:
        return "Deleteing";
    case kMeasuring:
        return "Measureing";
    default:
        return "Canceling";
    }
}

} // namespace

Volume::Volume(const Platform& platform) : platform_(platform) {}

void Volume::wire(Internal& internal, External& external, Shredder& shredder, Utility& utility, Manager& manager,
                  Security& security, Preferences& prefs)
{
    outInternal_ = &internal;
    outExternal_ = &external;
    outShredder_ = &shredder;
    outUtility_ = &utility;
    outManager_ = &manager;
    outSecurity_ = &security;
    outPrefs_ = &prefs;
}

void Volume::awakeFromNib()
{
    infoExecuting_.store(false);
    // A desktop without a display has no panel.
    if (InfoPanelView* panel = platform_.infoPanel) {
        panel->setActions(this);
        panel->setShredFileText({});
    }
}

// --- opening, refreshing, closing

void Volume::dispInformation()
{
    InfoPanelView* panel = platform_.infoPanel;
    if (!panel)
        return;
    const bool extras = platform_.keys->isOptionHeld();
    for (Button button : {Button::NewInspect, Button::Reinspect, Button::ForcedTimer})
        panel->setButtonHidden(button, !extras);
    renewAllInfo();
    const bool wasOpen = infoExecuting_.exchange(true);
    // An open panel stays where the user put it; a closed one comes back where it was.
    if (!wasOpen) {
        if (const auto frame = platform_.defaults->stringForKey(keys::TrashInformationPanel))
            panel->setFrameText(*frame);
    }
    panel->showPanel();
    if (!wasOpen) {
        const std::uint64_t generation = ++infoGeneration_;
        platform_.workers->start([this, generation] { dispInfoThread(generation); });
    }
}

bool Volume::isCurrentRefresher(std::uint64_t generation) const
{
    return infoExecuting_.load() && infoGeneration_.load() == generation && !platform_.workers->quitting();
}

void Volume::dispInfoThread(std::uint64_t generation)
{
    while (isCurrentRefresher(generation)) {
        requestRefresh(generation);
        platform_.clock->sleepFor(kRefreshPeriod);
    }
}

void Volume::requestRefresh(std::uint64_t generation)
{
    // The panel lives on the main thread; the worker only keeps time.
    if (refreshPending_.exchange(true))
        return;
    platform_.mainLoop->post([this, generation] {
        refreshPending_.store(false);
        if (isCurrentRefresher(generation))
            renewAllInfo();
    });
}

void Volume::windowWillClose()
{
    infoExecuting_.store(false);
    const std::string frame = platform_.infoPanel->frameText();
    if (!frame.empty())
        platform_.defaults->setString(keys::TrashInformationPanel, frame);
}

// --- the disk menu

int Volume::selectedVolume() const
{
    return platform_.infoPanel ? platform_.infoPanel->selectedDiskIndex() : -1;
}

void Volume::setupDiskMenu()
{
    if (!platform_.infoPanel)
        return;
    InfoPanelView& panel = *platform_.infoPanel;
    const int noted = panel.selectedDiskIndex();
    const std::vector<std::string> shown = panel.diskMenuTitles();
    std::vector<std::string> titles{outInternal_->volumeName()};
    for (auto& name : outExternal_->volumeNames())
        titles.push_back(std::move(name));
    if (outUtility_->isEqualArray(shown, titles))
        return;
    panel.setDiskMenuTitles(titles);
    // The same position stays chosen while it exists; past the end (or none) the last item.
    // A menu built for the first time starts on the startup volume.
    const int last = static_cast<int>(titles.size()) - 1;
    int index = noted < 0 || noted > last ? last : noted;
    if (shown.empty())
        index = 0;
    panel.selectDiskIndex(index);
    if (panel.selectedDiskIndex() < 0)
        platform_.log->line("setupDiskMenu: disk menu select error.");
}

std::string Volume::volumePathOfSelection() const
{
    const int index = selectedVolume();
    return index >= 1 ? outExternal_->volumePathWithDrive(index - 1) : std::string();
}

// --- the figures

void Volume::renewAllInfo()
{
    InfoPanelView* panel = platform_.infoPanel;
    if (!panel)
        return;
    setupDiskMenu();
    // Stop is there while a forced emptying runs and no stop has been asked for yet.
    panel->setButtonHidden(Button::StopEmpty, outShredder_->shredMode() == 0 || outShredder_->shredBreak());
    int index = panel->selectedDiskIndex();
    if (index < 0) {
        panel->selectDiskIndex(0);
        index = panel->selectedDiskIndex();
        if (index < 0) {
            platform_.log->line("renewAllInfo: disk menu select error.");
            return;
        }
    }
    const auto trash = selectedTrashState(*panel, index);
    if (!trash)
        return;
    panel->setMeasuring(trash->measuring);
    showStatus(*panel, trash->status, trash->copyOnWrite);
    if (!trash->answering)
        panel->setStatusText(platform_.strings->localized("NotAnswering"));
    showFigures(*panel, *trash);
    panel->setButtonEnabled(Button::ForcedEmpty, !trash->measuring && !outShredder_->isShredding() &&
                                                     !outShredder_->isPartialShredding() && trash->bytes != 0.0);
    // Another volume chosen: its own values, and its next item at once.
    if (const std::string mountPoint = mountPointOfSelection(); mountPoint != overridesShownFor_) {
        showOverrides(*panel, mountPoint);
        nextShownAt_.reset();
    }
    showNextItem(*panel);
}

void Volume::showStatus(InfoPanelView& panel, int status, bool copyOnWrite)
{
    // Standing by for nothing: no rule of the chosen volume can ever want an item gone.
    const bool autoDeleteOff = status == kStandingBy && outPrefs_->isAutoDeleteOffAt(mountPointOfSelection());
    const std::string text = platform_.strings->localized(autoDeleteOff ? "AutoDeleteOff" : statusKey(status));
    // An overwrite would not reach the old blocks there: the user is told its items only go.
    panel.setStatusText(copyOnWrite ? text + " — " + platform_.strings->localized("RemovedWithoutOverwriting") : text);
    panel.setButtonEnabled(Button::Reinspect, status == kStandingBy || status == kDeleting);
}

void Volume::showFigures(InfoPanelView& panel, const TrashState& trash)
{
    // Each figure is read once per refresh, so the shares always add up.
    const double used = trash.used();
    panel.setFigureText(Figure::Total, gigabytesText(trash.capacity));
    panel.setFigureText(Figure::Used, gigabytesText(used));
    panel.setShareText(Share::Used, shareText(used, trash.capacity));
    panel.setFigureText(Figure::Trash, gigabytesText(trash.bytes));
    panel.setShareText(Share::Trash, shareText(trash.bytes, trash.capacity));
    panel.setFigureText(Figure::Free, gigabytesText(trash.free));
    panel.setShareText(Share::Free, shareText(trash.free, trash.capacity));
}

std::optional<TrashState> Volume::selectedTrashState(InfoPanelView& panel, int index)
{
    // Deletions can subtract more than was measured; the counter starts again from 0.
    if (index == 0) {
        if (outInternal_->trashSize() < 0.0)
            outInternal_->setTrashSize(0.0);
        return homeTrashFigures(*outInternal_);
    }
    const auto paths = outExternal_->volumePaths();
    if (paths.empty())
        return std::nullopt;
    const int last = static_cast<int>(paths.size()) - 1;
    int drive = index - 1;
    if (drive > last) {
        drive = last;
        panel.selectDiskIndex(drive + 1);
        if (panel.selectedDiskIndex() < 0) {
            platform_.log->line("renewAllInfo: disk menu select error.");
            return std::nullopt;
        }
    }
    const std::string& volume = paths[static_cast<size_t>(drive)];
    if (outExternal_->trashSizeWithPath(volume) < 0.0)
        outExternal_->setTrashSize(0.0, volume);
    return volumeTrashFigures(*outExternal_, volume);
}

// --- the buttons and the menu

void Volume::actForcedEmpty()
{
    const int index = selectedVolume();
    if (index < 0)
        return;
    if (index == 0) {
        if (!outShredder_->confirmForcedEmptying(true, {}))
            return;
        outShredder_->setShredMode(1);
        outInternal_->setShredMode(true);
    } else {
        const std::string volume = volumePathOfSelection();
        // The chosen volume went away meanwhile: there is nothing to mark.
        if (volume.empty())
            return;
        if (!outShredder_->confirmForcedEmptying(false, {volume}))
            return;
        outShredder_->setShredMode(1);
        outExternal_->setShredMode(true, volume);
    }
    // The user asks now: a repair refused earlier is asked for again.
    outSecurity_->forgetRefusals();
    outManager_->sizeMonitor();
}

void Volume::actReinspect()
{
    const int index = selectedVolume();
    if (index < 0)
        return;
    outSecurity_->forgetRefusals();
    if (index == 0)
        outInternal_->renewTrashSizeThread();
    else if (const std::string volume = volumePathOfSelection(); !volume.empty())
        outExternal_->renewTrashSizeThreadAtPath(volume);
    renewAllInfo();
}

void Volume::actNewInspect()
{
    const int index = selectedVolume();
    if (index < 0)
        return;
    outSecurity_->forgetRefusals();
    if (index == 0)
        outInternal_->initTrashSizeThread();
    else if (const std::string volume = volumePathOfSelection(); !volume.empty())
        outExternal_->initTrashSizeThreadAtPath(volume);
    renewAllInfo();
}

void Volume::actForcedTimer()
{
    // Runs the monitor tick now instead of at the end of the period.
    outManager_->sizeMonitor();
}

void Volume::actStopEmpty()
{
    outManager_->stopForcedTrash();
    renewAllInfo();
}

void Volume::actDiskMenu()
{
    clearShredFile();
    renewAllInfo();
}

} // namespace bw
