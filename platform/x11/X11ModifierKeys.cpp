#include "platform/x11/X11ModifierKeys.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace bw::x11 {

namespace {

bool isDown(const char keys[32], unsigned char keycode)
{
    return keycode != 0 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
}

} // namespace

std::unique_ptr<X11ModifierKeys> X11ModifierKeys::open()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    return std::unique_ptr<X11ModifierKeys>(new X11ModifierKeys(display));
}

X11ModifierKeys::X11ModifierKeys(Display* display)
    : display_(display),
      altLeft_(XKeysymToKeycode(display, XK_Alt_L)),
      altRight_(XKeysymToKeycode(display, XK_Alt_R))
{
}

X11ModifierKeys::~X11ModifierKeys()
{
    XCloseDisplay(display_);
}

bool X11ModifierKeys::isOptionHeld()
{
    std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (now - askedAt_ < std::chrono::milliseconds(100))
        return held_;
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    held_ = isDown(keys, altLeft_) || isDown(keys, altRight_);
    askedAt_ = now;
    return held_;
}

} // namespace bw::x11
