#include "platform/posix/PkexecLauncher.h"

#include "platform/Format.h"
#include "platform/Log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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
    child_ = -1; // reaped: the helper ended before it had its request
    stopLocked();
    return false;
}

void PkexecLauncher::stopLocked()
{
    for (int* fd : {&requests_, &reports_, &errors_}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    pending_.clear();
    // Without its input the helper ends at once; it is reaped if it has ended already, and
    // otherwise never waited for.
    if (child_ > 0)
        waitpid(child_, nullptr, WNOHANG);
    child_ = -1;
}

bool PkexecLauncher::readLine(std::string& line)
{
    for (;;) {
        if (const auto end = pending_.find('\n'); end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return true;
        }
        char buffer[4096];
        const ssize_t n = read(reports_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

} // namespace

Authorization PkexecLauncher::failureOf(pid_t pid)
{
    // pkexec has ended without starting the helper (or the helper without saying "ready").
    const std::string said = readAll(errors_);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        log_.line("pkexec ended abnormally");
        return Authorization::Failed;
    }
    const int code = WEXITSTATUS(status);
    log_.line(strprintf("pkexec ended with %d%s%s", code, said.empty() ? "" : ": ",
                        escapeControlCharacters(said).c_str()));
    if (code == 126)
        return Authorization::Dismissed;
    if (code == 127)
        return said.find("authentication agent") != std::string::npos ? Authorization::NoAgent
                                                                       : Authorization::NotAuthorized;
    return Authorization::Failed;
}

Authorization PkexecLauncher::authorize()
{
    std::lock_guard lock(mutex_);
    if (runningLocked())
        return Authorization::Granted;
    int sockets[2];
    int out[2];
    int err[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return Authorization::Failed;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(sockets[0]);
        close(sockets[1]);
        return Authorization::Failed;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        for (int fd : {sockets[0], sockets[1], out[0], out[1]})
            close(fd);
        return Authorization::Failed;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    char* const argv[] = {pkexec_.data(), helperPath_.data(), nullptr};
    pid_t pid = -1;
    const int spawnError = posix_spawnp(&pid, pkexec_.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : {sockets[1], out[1], err[1]})
        close(fd);
    requests_ = sockets[0];
    reports_ = out[0];
    errors_ = err[0];
    if (spawnError != 0) {
        log_.line(strprintf("pkexec could not be started: %s", strerror(spawnError)));
        stopLocked();
        return Authorization::Failed;
    }
    // The helper says "ready" once it runs with the right.
    std::string said;
    if (!readLine(said) || said != "ready") {
        const Authorization failure = failureOf(pid);
        stopLocked();
        return failure;
    }
    child_ = pid;
    return Authorization::Granted;
}

int PkexecLauncher::requestRepair(RepairKind kind, const std::string& path, RepairReport& report)
{
    std::lock_guard lock(mutex_);
    if (!runningLocked())
        return EPIPE;
    const std::string request = encodeRepairRequest(kind, path);
    int error = 0;
    for (size_t sent = 0; sent < request.size() && error == 0;) {
        const ssize_t n = send(requests_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            sent += static_cast<size_t>(n);
    }
    // One request a run: the helper reads no more.
    shutdown(requests_, SHUT_WR);
    bool done = false;
    std::string line;
    while (error == 0 && !done && readLine(line)) {
        unsigned long long entries = 0;
        double bytes = 0;
        int helperError = 0;
        if (line.rfind("note ", 0) == 0)
            log_.line("Permission repair: " + escapeControlCharacters(line.substr(5)));
        else if (std::sscanf(line.c_str(), "done %d %llu %lf", &helperError, &entries, &bytes) == 3) {
            report = {helperError, entries, bytes};
            done = true;
        }
    }
    if (error == 0 && !done)
        error = EPIPE; // ended without its report
    const std::string said = readAll(errors_);
    if (!said.empty())
        log_.line("Permission repair: " + escapeControlCharacters(said));
    const pid_t pid = child_;
    stopLocked();
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return error;
}

void PkexecLauncher::revoke()
{
    std::lock_guard lock(mutex_);
    stopLocked();
}

} // namespace bw::posix
