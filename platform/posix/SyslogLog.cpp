#include "platform/posix/SyslogLog.h"

#include "platform/Format.h"
#include "platform/ModifierKeys.h"

#include <algorithm>
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

SyslogLog::SyslogLog(const Clock* clock) : clock_(clock), refilled_(now())
{
    openlog("Brindlewick", LOG_PID, LOG_USER);
}

SyslogLog::~SyslogLog()
{
    {
        std::lock_guard lock(mutex_);
        tellDropped();
    }
    closelog();
}

void SyslogLog::line(const std::string& text)
{
    // Escaped here, where every line passes, so that no caller can forget it: a name with a
    // line feed would otherwise write a line of its own choosing.
    const std::string escaped = escapeControlCharacters(text);
    std::lock_guard lock(mutex_);
    // Another user who can make the program refuse or fail at will must not fill the
    // system log: the allowance grows by kLinesPerMinute a minute, up to as many.
    const TimePoint at = now();
    const double minutes = std::chrono::duration<double, std::ratio<60>>(at - refilled_).count();
    allowance_ = std::min<double>(kLinesPerMinute, allowance_ + std::max(0.0, minutes) * kLinesPerMinute);
    refilled_ = at;
    if (allowance_ < 1.0) {
        ++dropped_;
        return;
    }
    allowance_ -= 1.0;
    tellDropped();
    write(escaped);
}

TimePoint SyslogLog::now() const
{
    // The permission-repair helper has this log without the program's clocks.
    return clock_ ? clock_->now() : std::chrono::system_clock::now();
}

void SyslogLog::tellDropped()
{
    if (dropped_ == 0)
        return;
    write(strprintf("%ld lines were dropped: more than %d a minute", dropped_, kLinesPerMinute));
    dropped_ = 0;
}

void SyslogLog::write(const std::string& escaped)
{
    // "%s" so that a "%" in a path is printed as it is.
    syslog(LOG_NOTICE, "%s", escaped.c_str());
    std::fprintf(stderr, "Brindlewick: %s\n", escaped.c_str());
    std::fflush(stderr);
}

} // namespace posix
} // namespace bw
