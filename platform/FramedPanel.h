#pragma once
#include <string>

namespace bw {

// A panel whose position and size are kept in the settings store under its name
// ("PreferencesPanel", "TrashInformationPanel").
class FramedPanel {
public:
    virtual ~FramedPanel() = default;
    // The frame as the store keeps it; empty while the panel has none to keep.
    virtual std::string frameText() const = 0;
};

} // namespace bw
