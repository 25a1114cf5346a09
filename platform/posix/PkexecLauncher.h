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
// the desktop's own dialog. The helper stays for the life of the program and takes its
// requests on a socket that is its standard input. pkexec exiting 126 (dialog dismissed)
// or 127 (not authorized), or no pkexec at all, is a refusal; the next repair asks again.
class PkexecLauncher final : public PrivilegedLauncher {
public:
    explicit PkexecLauncher(Log& log, std::string helperPath = defaultHelperPath(), std::string pkexec = "pkexec");
    ~PkexecLauncher() override;
    PkexecLauncher(const PkexecLauncher&) = delete;
    PkexecLauncher& operator=(const PkexecLauncher&) = delete;

    bool isAuthorized() override;
    bool authorize() override;
    int requestRepair(RepairKind kind, const std::string& path) override;
    void revoke() override;

    static std::string defaultHelperPath();

private:
    bool runningLocked();
    void stopLocked();
    bool waitForReady(int out);

    Log& log_;
    std::string helperPath_;
    std::string pkexec_;
    std::mutex mutex_;
    pid_t child_ = -1;
    int requests_ = -1;
};

} // namespace bw::posix
