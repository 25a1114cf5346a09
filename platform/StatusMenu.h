#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bw {

// The tags of the status menu's items. Validation knows 2 to 12; the commands below it
// keep their fixed titles.
enum MenuTag : int {
    kMenuSeparator = 0,
    kMenuGraph = 2,
    kMenuUsed = 3,
    kMenuTrash = 4,
    kMenuFree = 5,
    kMenuForcedTrash = 7,
    kMenuDeleteSelects = 9,
    kMenuDeletePanel = 11,
    kMenuLastAutoDelete = 12,
    kMenuInformation = 20,
    kMenuPreferences = 21,
    kMenuCheckNow = 22,
    kMenuQuit = 23,
    kMenuHistory = 24,
};

// One picture copied onto another at a point (top-left corner, in points).
struct PictureStamp {
    std::string picture;
    int x = 0;
    int y = 0;
};

// What validation leaves on one item before the menu opens; parts left unset stay as
// they were.
struct MenuItemState {
    bool enabled = true;
    std::optional<std::string> title;
    std::optional<std::string> picture;
    // Copied over the picture in order, each replacing the pixels it covers.
    std::vector<PictureStamp> stamps;
};

// One item of the status menu in its place: tag, title until validation sets one, and what
// choosing it does. A separator has the tag kMenuSeparator and no action.
struct MenuEntry {
    int tag = kMenuSeparator;
    std::string title;
    std::function<void()> action;
};

using MenuValidator = std::function<MenuItemState(int tag)>;

// The drop-down menu of the status item. Before every opening it runs each item once
// through the validator and shows what comes back; choosing an enabled item runs its
// action on the main thread.
class StatusMenu {
public:
    virtual ~StatusMenu() = default;
    virtual void setEntries(std::vector<MenuEntry> entries, MenuValidator validate) = 0;
};

} // namespace bw
