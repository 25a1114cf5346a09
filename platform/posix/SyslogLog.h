#pragma once
#include "platform/Log.h"

#include <mutex>

namespace bw::posix {

// syslog(3) with the ident "Brindlewick", and the same line on standard error.
class SyslogLog final : public Log {
public:
    SyslogLog();
    ~SyslogLog() override;
    void line(const std::string& text) override;

private:
    std::mutex mutex_;
};

} // namespace bw::posix
