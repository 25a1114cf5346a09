#pragma once
#include "platform/StatusMenu.h"

#include <map>

namespace bw::test {

// The status menu as a user meets it: open() validates every item as a real opening
// does, choose() runs an item's action only when the last opening left it enabled.
class FakeStatusMenu final : public StatusMenu {
public:
    void setEntries(std::vector<MenuEntry> entries, MenuValidator validate) override;

    void open();
    // The state the last opening left on the item of that tag.
    const MenuItemState& item(int tag) const;
    bool choose(int tag);

    const std::vector<MenuEntry>& entries() const { return entries_; }
    int openings() const { return openings_; }

private:
    std::vector<MenuEntry> entries_;
    MenuValidator validate_;
    std::map<int, MenuItemState> shown_;
    int openings_ = 0;
};

} // namespace bw::test
