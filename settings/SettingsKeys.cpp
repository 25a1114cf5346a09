#include "settings/SettingsKeys.h"

#include "platform/Format.h"
#include "platform/Log.h"

namespace bw::keys {

float acceptedValue(const Key<float>& key, float value, Log& log)
{
    if (key.accepts(value))
        return value;
    log.line(strprintf("%s %g is outside [%g, %g]; %g applies", key.name, static_cast<double>(value),
                       static_cast<double>(key.lowest), static_cast<double>(key.highest),
                       static_cast<double>(key.registeredDefault)));
    return key.registeredDefault;
}

float valueOf(DefaultsStore& store, const Key<float>& key, Log& log)
{
    return acceptedValue(key, store.floatForKey(key.name), log);
}

} // namespace bw::keys
