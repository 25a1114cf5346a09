#include "platform/posix/SyslogLog.h"

#include "platform/ModifierKeys.h"

#include <atomic>
#include <cstdio>
#include <syslog.h>

namespace bw {

namespace {

// One switch for the whole process, as the log it serves is one.
std::atomic<bool> tracing{false};

} // namespace

void setTracing(bool on)
{
    tracing.store(on);
}

bool isTracing(ModifierKeys& keys)
{
    return tracing.load() || keys.isOptionHeld();
}

void logVerbose(Log& log, ModifierKeys& keys, const std::string& text)
{
    if (isTracing(keys))
        log.line(text);
}

std::string escapeControlCharacters(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            out += c;
            continue;
        }
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        }
        }
    }
    return out;
}

namespace posix {

SyslogLog::SyslogLog()
{
    openlog("Brindlewick", LOG_PID, LOG_USER);
}

SyslogLog::~SyslogLog()
{
    closelog();
}

void SyslogLog::line(const std::string& text)
{
    // Escaped here, where every line passes, so that no caller can forget it: a name with a
    // line feed would otherwise write a line of its own choosing.
    const std::string escaped = escapeControlCharacters(text);
    std::lock_guard lock(mutex_);
    // "%s" so that a "%" in a path is printed as it is.
    syslog(LOG_NOTICE, "%s", escaped.c_str());
    std::fprintf(stderr, "Brindlewick: %s\n", escaped.c_str());
    std::fflush(stderr);
}

} // namespace posix
} // namespace bw
