#pragma once
#include "platform/FramedPanel.h"
#include "platform/StatusMenu.h"

#include <string>
#include <vector>

namespace bw {

// What the information panel forwards to its controller.
class InfoPanelActions {
public:
    virtual ~InfoPanelActions() = default;
    virtual void actForcedEmpty() = 0;
    virtual void actReinspect() = 0;
    virtual void actNewInspect() = 0;
    virtual void actForcedTimer() = 0;
    // Stops a forced emptying that runs, as the status menu's stop does.
    virtual void actStopEmpty() = 0;
    virtual void actDiskMenu() = 0;
    // One of the selected volume's own values edited, or applied.
    virtual void actOverrideText() = 0;
    virtual void actApplyOverrides() = 0;
    // Reached whenever the panel closes, by any means.
    virtual void windowWillClose() = 0;
};

// The trash information panel as its controller sees it. Main thread only.
class InfoPanelView : public FramedPanel {
public:
    enum class Figure { Total, Used, Trash, Free };
    enum class Share { Used, Trash, Free };
    enum class Button { ForcedEmpty, Reinspect, NewInspect, ForcedTimer, StopEmpty, ApplyOverrides };
    // The selected volume's own values: the minimum as a share (%) or a size (GB), the age
    // limit (days) and the trash's largest share (%).
    enum class Override { MinimumRatio, MinimumSize, AgeDays, TrashCap };

    virtual void setActions(InfoPanelActions* actions) = 0;

    virtual void setStatusText(const std::string& text) = 0;
    virtual void setFigureText(Figure figure, const std::string& text) = 0;
    virtual void setShareText(Share share, const std::string& text) = 0;
    // The measuring indicator turns while `on`.
    virtual void setMeasuring(bool on) = 0;
    virtual void setShredFileText(const std::string& text) = 0;
    // The item of the selected trash that goes next, and whether a rule wants it gone now.
    virtual void setNextItemText(const std::string& text) = 0;

    // A field left empty follows the default, which the field shows greyed while empty.
    // Numbers are given and taken in the "C" form.
    virtual std::string overrideText(Override field) const = 0;
    virtual void setOverrideText(Override field, const std::string& text) = 0;
    virtual void setOverridePlaceholder(Override field, const std::string& text) = 0;
    // Why the values cannot be applied; empty: nothing to say.
    virtual void setOverrideProblemText(const std::string& text) = 0;

    // The disk menu: its titles, and the chosen item's index (-1 when none is chosen).
    virtual std::vector<std::string> diskMenuTitles() const = 0;
    // Replaces every item; the menu then has no chosen item until one is selected.
    virtual void setDiskMenuTitles(const std::vector<std::string>& titles) = 0;
    virtual int selectedDiskIndex() const = 0;
    // An index outside the menu leaves it without a chosen item.
    virtual void selectDiskIndex(int index) = 0;

    virtual void setButtonEnabled(Button button, bool enabled) = 0;
    virtual void setButtonHidden(Button button, bool hidden) = 0;

    // The status menu's commands as buttons, for a desktop where no tray shows the menu;
    // each is validated as the menu validates it, when the panel shows and while it is open.
    virtual void setCommands(std::vector<MenuEntry> commands, MenuValidator validate) = 0;

    // Restores a frame given by frameText(); an unreadable one is ignored.
    virtual void setFrameText(const std::string& frame) = 0;
    // Shows the panel and brings it, and the application, to the front.
    virtual void showPanel() = 0;
};

} // namespace bw
