#pragma once
#include "platform/ModifierKeys.h"

#include <memory>
#include <mutex>

typedef struct _XDisplay Display;

namespace bw::x11 {

// The Alt key as the X server sees it at this moment. It has a connection of its own,
// used under a lock, so any thread may ask.
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
};

} // namespace bw::x11
