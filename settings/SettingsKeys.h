#pragma once
// Every stored setting, declared once with its type, registered default and the values the
// preferences panel accepts.
#include "platform/DefaultsStore.h"

#include <limits>

namespace bw {
class Log;
}

namespace bw::keys {

template <typename T>
struct Key {
    const char* name;
    T registeredDefault;
    // What the preferences panel accepts; a stored value outside it reads as the default.
    T lowest = std::numeric_limits<T>::lowest();
    T highest = std::numeric_limits<T>::max();

    // False for NaN too, which compares as outside any range.
    bool accepts(T value) const { return value >= lowest && value <= highest; }
};

// Up to 99 %: a ratio near 1 asks for more free space than a roomy volume has, so every
// pass would empty the whole trash. 0 turns automatic deletion off.
inline constexpr Key<float> MinimumFreeSpaceRatio{"MinimumFreeSpaceRatio", 0.1f, 0.0f, 0.99f};
// From one second to one day.
inline constexpr Key<float> MonitorIntervalTime{"MonitorIntervalTime", 300.0f, 1.0f, 86400.0f};
inline constexpr Key<bool> InnerShredderSwitch{"InnerShredderSwitch", true};
inline constexpr Key<bool> NoRenameFileSwitch{"NoRenameFileSwitch", false};
// Ask before a command shreds trash items; off once the user ticks "Do not ask again".
inline constexpr Key<bool> ConfirmShredding{"ConfirmShredding", true};
// A desktop notification after a pass that deleted trash items.
inline constexpr Key<bool> PassNotifications{"PassNotifications", true};
// Trace and timing lines for the whole run, as if the Alt key were held.
inline constexpr Key<bool> Verbose{"Verbose", false};
// The rules beside the free-space minimum, each off at 0: items trashed more than so many
// days ago go, and a trash may hold at most this share of its volume's capacity.
inline constexpr Key<float> MaximumItemAgeDays{"MaximumItemAgeDays", 0.0f, 0.0f, 36500.0f};
inline constexpr Key<float> MaximumTrashRatio{"MaximumTrashRatio", 0.0f, 0.0f, 0.99f};
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

// `value` where `key` accepts it; otherwise the key's default, said in one log line that
// names the key.
float acceptedValue(const Key<float>& key, float value, Log& log);
// The stored value of `key`, checked by acceptedValue.
float valueOf(DefaultsStore& store, const Key<float>& key, Log& log);

} // namespace bw::keys
