#pragma once
#include <string>

namespace bw {

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
};

} // namespace bw
