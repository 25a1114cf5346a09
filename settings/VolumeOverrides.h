#pragma once
#include "deletion/DeletionRules.h"

#include <optional>
#include <string>

namespace bw {

// The settings one volume has of its own; each one absent follows the default.
struct VolumeOverrides {
    std::optional<float> minimumRatio;
    std::optional<double> minimumSize;
    std::optional<float> maximumAgeDays;
    std::optional<float> maximumTrashRatio;

    RuleSettings over(RuleSettings defaults) const;
    bool empty() const { return !minimumRatio && !minimumSize && !maximumAgeDays && !maximumTrashRatio; }
    bool operator==(const VolumeOverrides&) const = default;
};

// Why these settings cannot be used; empty when they can. The same limits hold for the
// defaults and for a volume's own values.
std::string problemWithRules(const RuleSettings& settings);

// The store key of a volume's own value `name`.
std::string volumeSettingKey(const std::string& volumeKey, const char* name);

} // namespace bw
