#include "platform/posix/SyslogLog.h"

#include "platform/ModifierKeys.h"

#include <cstdio>
#include <syslog.h>

namespace bw {

void logVerbose(Log& log, ModifierKeys& keys, const std::string& text)
{
    if (keys.isOptionHeld())
        log.line(text);
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
    std::lock_guard lock(mutex_);
    // "%s" so that a "%" in a path is printed as it is.
    syslog(LOG_NOTICE, "%s", text.c_str());
    std::fprintf(stderr, "Brindlewick: %s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace posix
} // namespace bw
