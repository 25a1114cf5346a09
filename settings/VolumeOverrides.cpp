#include "settings/VolumeOverrides.h"

#include "platform/Format.h"
#include "settings/SettingsKeys.h"

#include <cctype>
#include <cmath>

namespace bw {

namespace {

// A century: beyond it an age limit is a typing error, not a wish.
constexpr float kLongestAgeDays = 36500.0f;

} // namespace

RuleSettings VolumeOverrides::over(RuleSettings defaults) const
{
    // A share of its own is the volume's minimum: a default size would otherwise win over it.
    if (minimumRatio) {
        defaults.minimumRatio = *minimumRatio;
        defaults.minimumSize = 0.0;
    }
    if (minimumSize)
        defaults.minimumSize = *minimumSize;
    if (maximumAgeDays)
        defaults.maximumAgeDays = *maximumAgeDays;
    if (maximumTrashRatio)
        defaults.maximumTrashRatio = *maximumTrashRatio;
    return defaults;
}

std::string problemWithRules(const RuleSettings& settings)
{
    // A ratio of 1 or more would ask for more free space than any volume has, so every pass
    // would empty the whole trash; 0 turns the minimum off.
    if (!(settings.minimumRatio >= 0.0f && settings.minimumRatio < 1.0f))
        return "The minimum free space must be a number from 0 to 99 %.";
    if (!(settings.minimumSize >= 0.0 && std::isfinite(settings.minimumSize)))
        return "The minimum free space must be a size of 0 or more.";
    if (!(settings.maximumAgeDays >= 0.0f && settings.maximumAgeDays <= kLongestAgeDays))
        return "The age limit must be a number of days from 0 (off) to 36500.";
    // A trash may hold at most what the volume holds; 0 turns the cap off.
    if (!(settings.maximumTrashRatio >= 0.0f && settings.maximumTrashRatio < 1.0f))
        return "The trash's share of its volume must be a number from 0 (off) to 99 %.";
    return {};
}

std::string volumeSettingKey(const std::string& volumeKey, const char* name)
{
    // A mount point's slashes would open groups of their own in the settings file.
    std::string escaped;
    for (const unsigned char c : volumeKey) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '=')
            escaped += static_cast<char>(c);
        else
            escaped += strprintf("%%%02X", c);
    }
    return std::string(keys::VolumesGroup) + "/" + escaped + "/" + name;
}

} // namespace bw
