#pragma once
#include <string>

namespace bw {

// The home trash's figures that the tool tip gives beside its state, in bytes.
struct ToolTipFigures {
    double trash = 0.0;
    double free = 0.0;
    double minimum = 0.0; // the free space the automatic deletion keeps
    bool operator==(const ToolTipFigures&) const = default;
};

// The tray icon of the home trash. Pictures are named by their resource file name
// ("EmptyTrash.png"); a name the resources do not hold shows no picture.
// Meant for the main thread: workers hand their updates over with MainLoop::post, and an
// implementation applies a call from another thread there, after what is queued.
class StatusItem {
public:
    virtual ~StatusItem() = default;

    // Puts the item into the tray (or, with no tray, notes that it runs without one).
    virtual void show() = 0;
    virtual void setImage(const std::string& fileName) = 0;
    virtual void setToolTip(const std::string& text) = 0;
    // The figures told after the tool tip's text, written in the user's language and locale;
    // an item that shows no tool tip has nothing to do with them.
    virtual void setFigures(const ToolTipFigures&) {}
};

} // namespace bw
