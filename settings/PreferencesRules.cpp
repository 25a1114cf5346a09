// The deletion rules' side of Preferences: the defaults and each volume's own values.
#include "settings/Preferences.h"

#include "platform/DefaultsStore.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/VolumeSource.h"
#include "settings/SettingsKeys.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sys/stat.h>

namespace bw {

namespace {

// A stored number, read in the "C" form; none when absent, empty or not a number.
std::optional<double> storedNumber(DefaultsStore& store, const std::string& key)
{
    const auto text = store.stringForKey(key);
    if (!text || text->empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text->c_str(), &end);
    if (end == text->c_str() || *end != '\0' || errno != 0 || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> asFloat(std::optional<double> value)
{
    return value ? std::optional(static_cast<float>(*value)) : std::nullopt;
}

void storeNumber(DefaultsStore& store, const std::string& key, std::optional<double> value, const char* format)
{
    store.setString(key, value ? strprintf(format, *value) : std::string());
}

} // namespace

RuleSettings Preferences::defaultRules() const
{
    std::lock_guard lock(rulesMutex_);
    return defaultRules_;
}

void Preferences::keepDefaultRules(const RuleSettings& rules)
{
    RuleSettings before;
    {
        std::lock_guard lock(rulesMutex_);
        before = defaultRules_;
        defaultRules_ = rules;
    }
    minimumRatio_.store(rules.minimumRatio);
    // Only what changed is written: a setting never touched stays out of the file.
    DefaultsStore& store = *platform_.defaults;
    if (rules.minimumRatio != before.minimumRatio)
        store.setFloat(keys::MinimumFreeSpaceRatio.name, rules.minimumRatio);
    if (rules.minimumSize != before.minimumSize)
        store.setString(keys::MinimumFreeSpaceSize, strprintf("%.0f", rules.minimumSize));
    if (rules.maximumAgeDays != before.maximumAgeDays)
        store.setFloat(keys::MaximumItemAgeDays.name, rules.maximumAgeDays);
    if (rules.maximumTrashRatio != before.maximumTrashRatio)
        store.setFloat(keys::MaximumTrashRatio.name, rules.maximumTrashRatio);
}

std::string Preferences::volumeKeyAt(const std::string& mountPoint) const
{
    struct stat st {};
    if (stat(mountPoint.c_str(), &st) != 0)
        return mountPoint;
    {
        std::lock_guard lock(rulesMutex_);
        if (const auto it = volumeKeys_.find(mountPoint); it != volumeKeys_.end() && it->second.first == st.st_dev)
            return it->second.second;
    }
    std::string key = platform_.volumes ? platform_.volumes->volumeKey(mountPoint) : mountPoint;
    std::lock_guard lock(rulesMutex_);
    volumeKeys_[mountPoint] = {st.st_dev, key};
    return key;
}

VolumeOverrides Preferences::overridesOf(const std::string& volumeKey) const
{
    DefaultsStore& store = *platform_.defaults;
    VolumeOverrides overrides;
    overrides.minimumRatio = asFloat(storedNumber(store, volumeSettingKey(volumeKey, keys::MinimumFreeSpaceRatio.name)));
    overrides.minimumSize = storedNumber(store, volumeSettingKey(volumeKey, keys::MinimumFreeSpaceSize));
    overrides.maximumAgeDays = asFloat(storedNumber(store, volumeSettingKey(volumeKey, keys::MaximumItemAgeDays.name)));
    overrides.maximumTrashRatio =
        asFloat(storedNumber(store, volumeSettingKey(volumeKey, keys::MaximumTrashRatio.name)));
    return overrides;
}

void Preferences::setOverrides(const std::string& volumeKey, const VolumeOverrides& overrides)
{
    DefaultsStore& store = *platform_.defaults;
    storeNumber(store, volumeSettingKey(volumeKey, keys::MinimumFreeSpaceRatio.name), overrides.minimumRatio, "%.9g");
    storeNumber(store, volumeSettingKey(volumeKey, keys::MinimumFreeSpaceSize), overrides.minimumSize, "%.0f");
    storeNumber(store, volumeSettingKey(volumeKey, keys::MaximumItemAgeDays.name), overrides.maximumAgeDays, "%.9g");
    storeNumber(store, volumeSettingKey(volumeKey, keys::MaximumTrashRatio.name), overrides.maximumTrashRatio,
                "%.9g");
    store.synchronize();
}

bool Preferences::isAutoDeleteOffAt(const std::string& mountPoint) const
{
    const RuleSettings rules = rulesAt(mountPoint);
    return rules.minimumRatio == 0.0f && rules.minimumSize <= 0.0 && rules.maximumAgeDays <= 0.0f &&
           rules.maximumTrashRatio <= 0.0f;
}

RuleSettings Preferences::rulesAt(const std::string& mountPoint) const
{
    const RuleSettings defaults = defaultRules();
    const std::string key = volumeKeyAt(mountPoint);
    const RuleSettings own = overridesOf(key).over(defaults);
    const std::string problem = problemWithRules(own);
    if (problem.empty())
        return own;
    // Values typed into the file by hand: the volume follows the defaults, said once.
    bool told = false;
    {
        std::lock_guard lock(rulesMutex_);
        told = !toldBadOverrides_.insert(key).second;
    }
    if (!told)
        platform_.log->line(strprintf("The settings of volume %s are not used: %s", key.c_str(), problem.c_str()));
    return defaults;
}

} // namespace bw
