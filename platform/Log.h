#pragma once
#include <string>

namespace bw {

class ModifierKeys;

// One line per event to the system log.
class Log {
public:
    virtual ~Log() = default;
    virtual void line(const std::string& text) = 0;
};

// Trace and timing lines are written only while the Alt key is held at that moment.
void logVerbose(Log& log, ModifierKeys& keys, const std::string& text);

} // namespace bw
