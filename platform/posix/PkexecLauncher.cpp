#include "platform/posix/PkexecLauncher.h"

#include "platform/Format.h"
#include "platform/Log.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bw::posix {

PkexecLauncher::PkexecLauncher(Log& log, std::string helperPath, std::string pkexec)
    : log_(log), helperPath_(std::move(helperPath)), pkexec_(std::move(pkexec))
{
}

PkexecLauncher::~PkexecLauncher()
{
    revoke();
}

std::string PkexecLauncher::defaultHelperPath()
{
    // The helper installed beside the running program comes first, so that an install to
    // another prefix than the configured one finds its own helper (the one its polkit policy
    // names); the configured prefix's helper otherwise.
    const std::string tail = std::string("/brindlewick/") + BRINDLEWICK_HELPER_NAME;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::string beside =
            (program.parent_path() / BRINDLEWICK_BIN_TO_LIBEXEC).lexically_normal().string() + tail;
        if (access(beside.c_str(), X_OK) == 0)
            return beside;
    }
    return BRINDLEWICK_LIBEXECDIR + tail;
}

bool PkexecLauncher::isAuthorized()
{
    std::lock_guard lock(mutex_);
    return runningLocked();
}

bool PkexecLauncher::runningLocked()
{
    if (child_ <= 0)
        return false;
    int status = 0;
    if (waitpid(child_, &status, WNOHANG) == 0)
        return true;
    child_ = -1; // reaped: the helper ended (or was never granted)
    stopLocked();
    return false;
}

void PkexecLauncher::stopLocked()
{
    if (requests_ >= 0)
        close(requests_);
    requests_ = -1;
    // The helper finishes what it was given and ends when its input closes; it is reaped
    // if it has already ended, and otherwise never waited for.
    if (child_ > 0)
        waitpid(child_, nullptr, WNOHANG);
    child_ = -1;
}

bool PkexecLauncher::waitForReady(int out)
{
    // The helper says "ready" once it runs with the right; pkexec ends without it when the
    // administrator refused or dismissed the dialog.
    std::string said;
    char c = 0;
    for (;;) {
        const ssize_t n = read(out, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        said += c;
    }
    return said == "ready";
}

bool PkexecLauncher::authorize()
{
    std::lock_guard lock(mutex_);
    if (runningLocked())
        return true;
    int sockets[2];
    int out[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return false;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(sockets[0]);
        close(sockets[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    char* const argv[] = {pkexec_.data(), helperPath_.data(), nullptr};
    pid_t pid = -1;
    const int spawnError = posix_spawnp(&pid, pkexec_.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(sockets[1]);
    close(out[1]);
    const bool ready = spawnError == 0 && waitForReady(out[0]);
    close(out[0]);
    if (!ready) {
        int status = 0;
        if (spawnError == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            log_.line(strprintf("pkexec ended with %d", WEXITSTATUS(status)));
        close(sockets[0]);
        return false;
    }
    child_ = pid;
    requests_ = sockets[0];
    return true;
}

int PkexecLauncher::requestRepair(RepairKind kind, const std::string& path)
{
    std::lock_guard lock(mutex_);
    if (!runningLocked())
        return EPIPE;
    const std::string request = encodeRepairRequest(kind, path);
    for (size_t sent = 0; sent < request.size();) {
        const ssize_t n = send(requests_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            stopLocked();
            return error;
        }
        sent += static_cast<size_t>(n);
    }
    return 0;
}

void PkexecLauncher::revoke()
{
    std::lock_guard lock(mutex_);
    stopLocked();
}

} // namespace bw::posix
