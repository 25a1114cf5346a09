#pragma once
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "platform/Clock.h"

namespace bw {

using DefaultValue = std::variant<bool, float, TimePoint, std::string>;

// The per-user settings store: typed values over a volatile layer of registered defaults,
// written to disk only by synchronize(). A stored value of the wrong type reads as the
// registered default (or as absent, for keys without one).
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;
    virtual void registerDefaults(const std::map<std::string, DefaultValue>& defaults) = 0;
    virtual float floatForKey(const std::string& key) = 0;
    virtual bool boolForKey(const std::string& key) = 0;
    virtual std::optional<TimePoint> dateForKey(const std::string& key) = 0;
    virtual std::optional<std::string> stringForKey(const std::string& key) = 0;
    virtual void setFloat(const std::string& key, float value) = 0;
    virtual void setBool(const std::string& key, bool value) = 0;
    virtual void setDate(const std::string& key, TimePoint value) = 0;
    virtual void setString(const std::string& key, const std::string& value) = 0;
    virtual void synchronize() = 0;
};

} // namespace bw
