#pragma once
#include "platform/FramedPanel.h"

#include <string>

namespace bw {

// What the preferences panel forwards to its controller; the panel decides nothing itself.
class PrefsPanelActions {
public:
    virtual ~PrefsPanelActions() = default;
    virtual void actMiniRatioText() = 0;
    virtual void actMiniRatioStepper() = 0;
    virtual void actIntervalText() = 0;
    virtual void actTestModeCheck() = 0;
    virtual void actShredderCheck() = 0;
    virtual void actNoRenameCheck() = 0;
    virtual void actStartAtLoginCheck() = 0;
    virtual void actNotificationsCheck() = 0;
    virtual void actConfirmShreddingCheck() = 0;
    // The minimum's unit chosen, or the age limit or the trash's share edited.
    virtual void actMinimumUnit() = 0;
    virtual void actAgeDaysText() = 0;
    virtual void actTrashCapText() = 0;
    virtual void actExecButton() = 0;
    virtual void actCancelButton() = 0;
    // Reached whenever the panel closes, by any means.
    virtual void windowWillClose() = 0;
};

// The preferences panel as its controller sees it: texts and states to show, the user's
// edits to read back. Main thread only.
class PrefsPanelView : public FramedPanel {
public:
    enum class Check { TestMode, Shredder, NoRename, StartAtLogin, Notifications, ConfirmShredding };
    enum class Note { Ratio, Interval, TestMode, Shredder, NoRename };
    // What the minimum field holds: a share of the capacity, or a size.
    enum class MinimumUnit { Percent, Gigabytes };

    virtual void setActions(PrefsPanelActions* actions) = 0;

    // Figures of the startup volume, already formatted.
    virtual void setTotalSizeText(const std::string& text) = 0;
    virtual void setFullSizeText(const std::string& text) = 0;
    virtual void setMiniSizeText(const std::string& text) = 0;

    // The editable fields hold what the user typed. A number in them is given and taken in
    // the "C" form ("7.5"); the panel shows and reads it in the user's locale ("7,5").
    virtual std::string miniRatioText() const = 0;
    virtual void setMiniRatioText(const std::string& text) = 0;
    virtual std::string intervalText() const = 0;
    virtual void setIntervalText(const std::string& text) = 0;
    // The stepper beside the minimum field, in the field's unit.
    virtual double miniRatioStepper() const = 0;
    virtual void setMiniRatioStepper(double percent) = 0;

    virtual MinimumUnit minimumUnit() const = 0;
    virtual void setMinimumUnit(MinimumUnit unit) = 0;
    // The age limit in days and the trash's largest share of its volume in percent; 0: off.
    virtual std::string ageDaysText() const = 0;
    virtual void setAgeDaysText(const std::string& text) = 0;
    virtual std::string trashCapText() const = 0;
    virtual void setTrashCapText(const std::string& text) = 0;

    virtual bool isChecked(Check box) const = 0;
    virtual void setChecked(Check box, bool ticked) = 0;
    virtual void setNoteShown(Note note, bool shown) = 0;
    virtual void setExecButtonEnabled(bool enabled) = 0;
    // Why confirm is disabled although something changed; empty: nothing to say.
    virtual void setProblemText(const std::string& text) = 0;

    // Restores a frame given by frameText(); an unreadable one is ignored.
    virtual void setFrameText(const std::string& frame) = 0;
    // Shows the panel and brings it, and the application, to the front.
    virtual void showPanel() = 0;
    virtual void closePanel() = 0;
};

} // namespace bw
