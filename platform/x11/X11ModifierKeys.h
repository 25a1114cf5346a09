#pragma once
#include "platform/ModifierKeys.h"

#include <chrono>
#include <memory>
#include <mutex>

typedef struct _XDisplay Display;

namespace bw::x11 {

// The Alt key as the X server sees it at this moment. It has a connection of its own,
// used under a lock, so any thread may ask. The shredder asks once per file, so an answer
// is kept for a tenth of a second rather than asking the server thousands of times.
class X11ModifierKeys final : public ModifierKeys {
public:
    // None when no X display can be reached.
    static std::unique_ptr<X11ModifierKeys> open();
    ~X11ModifierKeys() override;
    bool isOptionHeld() override;

private:
    explicit X11ModifierKeys(Display* display);

    std::mutex mutex_;
    Display* display_;
    unsigned char altLeft_;
    unsigned char altRight_;
    std::chrono::steady_clock::time_point askedAt_{};
    bool held_ = false;
};

} // namespace bw::x11
