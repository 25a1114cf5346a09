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
// Trace and timing lines for the whole run, as if the Alt key were held.
inline constexpr Key<bool> Verbose{"Verbose", false};
// A date; absent until the first automatic delete, so it has no registered default.
inline constexpr const char* LastAutoExecuteDate = "LastAutoExecuteDate";

// Window frames of the two panels.
inline constexpr const char* PreferencesPanel = "PreferencesPanel";
inline constexpr const char* TrashInformationPanel = "TrashInformationPanel";

} // namespace bw::keys
