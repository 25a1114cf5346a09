#pragma once
#include "platform/PrivilegedLauncher.h"

#include <mutex>
#include <string>
#include <sys/types.h>

namespace bw {
class Log;
}

namespace bw::posix {

// Starts the repair helper through pkexec, which asks for the administrator's password in
// the desktop's own dialog, once for each repair: the helper takes its one request on a
// socket that is its standard input, reports on a pipe and ends. pkexec exiting 126 is a
// dismissed dialog, 127 a refusal (or, as its own words say, no authentication agent to
// ask), and no pkexec at all a failure; the next repair asks again.
class PkexecLauncher final : public PrivilegedLauncher {
public:
    explicit PkexecLauncher(Log& log, std::string helperPath = defaultHelperPath(), std::string pkexec = "pkexec");
    ~PkexecLauncher() override;
    PkexecLauncher(const PkexecLauncher&) = delete;
    PkexecLauncher& operator=(const PkexecLauncher&) = delete;

    bool isAuthorized() override;
    Authorization authorize() override;
    int requestRepair(RepairKind kind, const std::string& path, RepairReport& report) override;
    void revoke() override;

    static std::string defaultHelperPath();

private:
    bool runningLocked();
    void stopLocked();
    // Reads a line of the helper's output into `line`; false at its end.
    bool readLine(std::string& line);
    Authorization failureOf(pid_t pid);

    Log& log_;
    std::string helperPath_;
    std::string pkexec_;
    std::mutex mutex_;
    pid_t child_ = -1;
    int requests_ = -1; // the helper's standard input
    int reports_ = -1;  // its standard output
    int errors_ = -1;   // pkexec's standard error, then the helper's
    std::string pending_; // read from reports_, not yet a whole line
};

} // namespace bw::posix
