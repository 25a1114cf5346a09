#pragma once

namespace bw {

// The Alt key (the desktop's stand-in for the Option key), asked at the moment of use.
// Implementations must be safe to call from any thread.
class ModifierKeys {
public:
    virtual ~ModifierKeys() = default;
    virtual bool isOptionHeld() = 0;
};

// For machines without a display: the key is never held.
class NoModifierKeys final : public ModifierKeys {
public:
    bool isOptionHeld() override { return false; }
};

} // namespace bw
