#pragma once
// Every stored setting, declared once with its type and registered default.
#include "platform/DefaultsStore.h"

namespace bw::keys {

template <typename T>
struct Key {
    const char* name;
    T registeredDefault;
};

inline constexpr Key<float> MinimumFreeSpaceRatio{"MinimumFreeSpaceRatio", 0.1f};
inline constexpr Key<float> MonitorIntervalTime{"MonitorIntervalTime", 300.0f};
inline constexpr Key<bool> InnerShredderSwitch{"InnerShredderSwitch", true};
inline constexpr Key<bool> NoRenameFileSwitch{"NoRenameFileSwitch", false};
// Ask before a command shreds trash items; off once the user ticks "Do not ask again".
inline constexpr Key<bool> ConfirmShredding{"ConfirmShredding", true};
// A desktop notification after a pass that deleted trash items.
inline constexpr Key<bool> PassNotifications{"PassNotifications", true};
// The rules beside the free-space minimum, each off at 0: items trashed more than so many
// days ago go, and a trash may hold at most this share of its volume's capacity.
inline constexpr Key<float> MaximumItemAgeDays{"MaximumItemAgeDays", 0.0f};
inline constexpr Key<float> MaximumTrashRatio{"MaximumTrashRatio", 0.0f};
// The minimum as a size in bytes, replacing the ratio when not 0. Kept as a whole number in
// text: a float would round a large disk's figure.
inline constexpr const char* MinimumFreeSpaceSize = "MinimumFreeSpaceSize";
// One volume's own value of one of the four (an absent or empty one: the default's), under
// "Volumes/<volume key, escaped>/<name>".
inline constexpr const char* VolumesGroup = "Volumes";

// A date; absent until the first automatic delete, so it has no registered default.
inline constexpr const char* LastAutoExecuteDate = "LastAutoExecuteDate";

// Window frames of the two panels.
inline constexpr const char* PreferencesPanel = "PreferencesPanel";
inline constexpr const char* TrashInformationPanel = "TrashInformationPanel";

} // namespace bw::keys
