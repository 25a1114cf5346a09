#pragma once
#include "accounting/TrashSnapshot.h"
#include "platform/InfoPanelView.h"
#include "deletion/DeletionEvent.h"
#include "platform/TrashLayout.h"
#include "settings/VolumeOverrides.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace bw {

class External;
class Internal;
class Manager;
class Preferences;
class Security;
class Shredder;
class Utility;
struct Platform;
struct DeletionItem;

// The trash information panel, the file being deleted, and the resolution of a trash
// item's name to its path and its trash's size counter.
class Volume final : public InfoPanelActions, public DeletionListener {
public:
    explicit Volume(const Platform& platform);
    void wire(Internal& internal, External& external, Shredder& shredder, Utility& utility, Manager& manager,
              Security& security, Preferences& prefs);
    void awakeFromNib();

    // --- the information panel; main thread unless said otherwise
    // Opens the panel (or brings it to the front) and keeps it refreshed once a second.
    void dispInformation();
    // The refresh loop of one opening; runs on a worker until the panel closes.
    void dispInfoThread(std::uint64_t generation);
    void windowWillClose() override;
    void renewAllInfo();
    // Rebuilds the disk menu when the volume list no longer matches its titles.
    void setupDiskMenu();
    // 0 the startup volume, k >= 1 the volume of drive number k - 1, -1 none chosen.
    int selectedVolume() const;
    void actForcedEmpty() override;
    void actReinspect() override;
    void actNewInspect() override;
    void actForcedTimer() override;
    void actStopEmpty() override;
    void actDiskMenu() override;
    void actOverrideText() override;
    void actApplyOverrides() override;
    // A deletion moves the next item to go: it is looked up again at a refresh.
    void itemDeleted(const DeletionEvent& event) override;

    // --- the file being deleted; callable from any thread
    void dispShredFileWithPath(const std::string& path);
    void clearShredFile();

    // --- a trash item's name to its path and counter; none when no trash holds it
    std::optional<DeletionItem> fullPathOfTrashFile(const std::string& name);

private:
    bool isCurrentRefresher(std::uint64_t generation) const;
    void requestRefresh(std::uint64_t generation);
    // The chosen trash; a choice past the last volume moves to the last one.
    std::optional<TrashState> selectedTrashState(InfoPanelView& panel, int index);
    void showStatus(InfoPanelView& panel, int status, bool copyOnWrite = false);
    void showFigures(InfoPanelView& panel, const TrashState& trash);
    std::string volumePathOfSelection() const;
    // Where the chosen volume is mounted; empty when none is chosen or it went away.
    std::string mountPointOfSelection() const;
    void showOverrides(InfoPanelView& panel, const std::string& mountPoint);
    // The values typed; none, with `problem` said, when one cannot be used.
    std::optional<VolumeOverrides> overridesIn(const InfoPanelView& panel, std::string& problem) const;
    void showNextItem(InfoPanelView& panel);
    void queueShredFile(std::optional<std::string> path);
    void applyShredFiles();
    std::optional<std::string> shownTextOf(const std::string& path) const;

    const Platform& platform_;
    Internal* outInternal_ = nullptr;
    External* outExternal_ = nullptr;
    Shredder* outShredder_ = nullptr;
    Utility* outUtility_ = nullptr;
    Manager* outManager_ = nullptr;
    Security* outSecurity_ = nullptr;
    Preferences* outPrefs_ = nullptr;
    std::atomic<bool> infoExecuting_{false};
    // Bumped at every opening: the refresher of an earlier opening sees it and ends, so a
    // panel closed and reopened within one period never has two.
    std::atomic<std::uint64_t> infoGeneration_{0};
    // A refresh handed to the main thread and not yet run; the worker posts no second one.
    std::atomic<bool> refreshPending_{false};

    // The volume whose own values the panel shows (main thread), and whether the next item
    // shown may be out of date, and when it was last looked up.
    std::string overridesShownFor_;
    std::atomic<bool> nextStale_{true};
    std::optional<TimePoint> nextShownAt_;

    // Files reported by the shredder (none: clear), in order, waiting for the main thread.
    std::mutex shredFilesMutex_;
    std::vector<std::optional<std::string>> shredFiles_;
};

} // namespace bw
