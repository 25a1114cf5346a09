#pragma once
#include "deletion/DeletionRules.h"
#include "platform/PrefsPanelView.h"
#include "settings/VolumeOverrides.h"

#include <atomic>
#include <map>
#include <optional>
#include <mutex>
#include <set>
#include <string>
#include <sys/types.h>

namespace bw {

class DefaultsStore;
class Internal;
class Manager;
class Shredder;
struct Platform;

// The minimum free-space ratio, the monitor interval and test mode, and the preferences
// panel that edits them with the shredder's two switches.
class Preferences final : public PrefsPanelActions {
public:
    explicit Preferences(const Platform& platform);
    void wire(Internal& internal, Manager& manager, Shredder& shredder);

    // Registers the ratio and interval defaults; runs before any controller wakes.
    static void initialize(DefaultsStore& defaults);
    void awakeFromNib();

    float minimumRatio() const { return minimumRatio_.load(); }
    float monitorInterval() const { return monitorInterval_.load(); }
    bool testModeSwitch() const { return testModeSwitch_.load(); }
    void setTestModeSwitch(bool on) { testModeSwitch_.store(on); }
    bool isExecting() const { return execting_.load(); }
    // Whether a pass that deleted trash items is told in a desktop notification.
    bool notificationsSwitch() const { return notificationsSwitch_.load(); }
    void setNotificationsSwitch(bool on);

    // --- the deletion rules; any thread
    // The rules every volume follows where it has no value of its own.
    RuleSettings defaultRules() const;
    // Keeps them in memory and in the store; the caller synchronizes.
    void keepDefaultRules(const RuleSettings& rules);
    // What the volume mounted at `mountPoint` keeps its own values under.
    std::string volumeKeyAt(const std::string& mountPoint) const;
    VolumeOverrides overridesOf(const std::string& volumeKey) const;
    // Stores a volume's own values (an absent one is cleared) and writes the file.
    void setOverrides(const std::string& volumeKey, const VolumeOverrides& overrides);
    // The rules in force for the volume mounted at `mountPoint`.
    RuleSettings rulesAt(const std::string& mountPoint) const;
    // Whether none of them can ever want an item gone there: a minimum of 0 and no other rule.
    bool isAutoDeleteOffAt(const std::string& mountPoint) const;

    // Applies confirmed values and writes them to the store (the panel's confirm step).
    void applyAndStore(float ratio, float interval, bool testMode, bool shredderSwitch, bool noRenameSwitch);

    // --- the preferences panel; main thread only
    // Opens the panel filled from the settings in force, or only brings it to the front.
    void execPrefs();
    // Enables confirm while the panel differs from the settings in force; shows the notes.
    void setExecButtonState();
    void actMiniRatioText() override;
    void actMiniRatioStepper() override;
    void actIntervalText() override;
    void actTestModeCheck() override;
    void actShredderCheck() override;
    void actNoRenameCheck() override;
    void actStartAtLoginCheck() override;
    void actNotificationsCheck() override;
    void actConfirmShreddingCheck() override;
    void actMinimumUnit() override;
    void actAgeDaysText() override;
    void actTrashCapText() override;
    void actExecButton() override;
    void actCancelButton() override;
    void overPrefs();
    void windowWillClose() override;

private:
    void loadDefaultRules();
    // The switch in memory and in the store, written to the file with the next synchronize.
    void keepNotificationsSwitch(bool on);
    void fillPanel(PrefsPanelView& panel);
    void showMiniSize(PrefsPanelView& panel, float ratio);
    // The share of the startup volume that a minimum given as a size is.
    void showMiniSizeShare(PrefsPanelView& panel, double size);
    // The defaults of the rules as the panel holds them; none while a field is out of range.
    std::optional<RuleSettings> rulesIn(const PrefsPanelView& panel) const;
    bool panelDiffers(const PrefsPanelView& panel) const;
    // Why the fields cannot be taken as they are; empty when they can.
    std::string problemWith(const PrefsPanelView& panel) const;
    bool startsAtLogin() const;
    bool confirmsShredding() const;

    const Platform& platform_;
    Internal* outInternal_ = nullptr;
    Manager* outManager_ = nullptr;
    Shredder* outShredder_ = nullptr;

    std::atomic<float> minimumRatio_{0.1f};
    std::atomic<float> monitorInterval_{300.0f};
    std::atomic<bool> testModeSwitch_{false};
    std::atomic<bool> execting_{false};
    std::atomic<bool> notificationsSwitch_{true};

    mutable std::mutex rulesMutex_; // guards the three below
    RuleSettings defaultRules_;
    // Mount point to its device and key: the by-uuid folder is read once per mounting.
    mutable std::map<std::string, std::pair<dev_t, std::string>> volumeKeys_;
    mutable std::set<std::string> toldBadOverrides_;
};

} // namespace bw
