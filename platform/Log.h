#pragma once
#include <string>
#include <string_view>

namespace bw {

class ModifierKeys;

// One line per event to the system log.
class Log {
public:
    virtual ~Log() = default;
    virtual void line(const std::string& text) = 0;
};

// `text` with every control character (bytes below 0x20, and 0x7f) written out as \n, \r,
// \t or \xHH, so that a file name cannot begin a line of its own or drive a terminal. Other
// bytes, UTF-8 and "%" among them, are kept as they are.
std::string escapeControlCharacters(std::string_view text);

// Trace and timing lines are written while tracing is on for the whole run (--verbose, the
// Verbose setting), or else while the Alt key is held at that moment.
void logVerbose(Log& log, ModifierKeys& keys, const std::string& text);
// Turns tracing on or off for the whole run; safe from any thread.
void setTracing(bool on);
// Whether trace and timing lines are wanted now.
bool isTracing(ModifierKeys& keys);

} // namespace bw
