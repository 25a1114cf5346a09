#pragma once
#include "platform/Log.h"
#include "platform/Clock.h"

#include <mutex>

namespace bw::posix {

// syslog(3) with the ident "Brindlewick", and the same line on standard error. Lines that
// come faster than kLinesPerMinute, after a burst of as many, are dropped and counted; the
// next line that passes, or the end of the log, says how many.
class SyslogLog final : public Log {
public:
    static constexpr int kLinesPerMinute = 20;

    // `clock`: the system's when none is given.
    explicit SyslogLog(const Clock* clock = nullptr);
    ~SyslogLog() override;
    void line(const std::string& text) override;

private:
    void write(const std::string& escaped);
    void tellDropped();

    TimePoint now() const;

    const Clock* clock_;
    std::mutex mutex_; // guards the write and the allowance below
    double allowance_ = kLinesPerMinute; // lines that may pass now
    TimePoint refilled_;
    long dropped_ = 0;
};

} // namespace bw::posix
