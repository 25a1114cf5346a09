#include "tests/support/FakeStatusMenu.h"

#include <stdexcept>

namespace bw::test {

void FakeStatusMenu::setEntries(std::vector<MenuEntry> entries, MenuValidator validate)
{
    entries_ = std::move(entries);
    validate_ = std::move(validate);
    shown_.clear();
    for (const auto& entry : entries_)
        if (entry.tag != kMenuSeparator)
            shown_[entry.tag].title = entry.title;
}

void FakeStatusMenu::open()
{
    ++openings_;
    for (const auto& entry : entries_) {
        if (entry.tag == kMenuSeparator)
            continue;
        const MenuItemState state = validate_(entry.tag);
        MenuItemState& shown = shown_[entry.tag];
        shown.enabled = state.enabled;
        if (state.title)
            shown.title = state.title;
        if (state.picture) {
            shown.picture = state.picture;
            shown.stamps = state.stamps;
        }
    }
}

const MenuItemState& FakeStatusMenu::item(int tag) const
{
    const auto it = shown_.find(tag);
    if (it == shown_.end())
        throw std::out_of_range("no menu item with that tag");
    return it->second;
}

bool FakeStatusMenu::choose(int tag)
{
    for (const auto& entry : entries_) {
        if (entry.tag != tag || !entry.action)
            continue;
        if (!item(tag).enabled)
            return false;
        entry.action();
        return true;
    }
    return false;
}

} // namespace bw::test
