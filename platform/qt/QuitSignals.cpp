#include "platform/qt/QuitSignals.h"

#include "platform/Format.h"
#include "platform/Log.h"

#include <QSocketNotifier>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace bw::qt {

namespace {

int pipeEnds[2] = {-1, -1};

void onSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t ignored = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(Log& log, std::function<void()> quit) : log_(log), quit_(std::move(quit))
{
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        log_.line(strprintf("Cannot catch SIGTERM, SIGINT and SIGHUP, err=%d(%s)", errno, strerror(errno)));
        return;
    }
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A closed terminal or a session that logs out sends SIGHUP; its default would end the
    // program at once, with its settings unsaved.
    sigaction(SIGHUP, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0)
            close(end);
        end = -1;
    }
}

void QuitSignals::readSignal()
{
    char byte = 0;
    if (read(pipeEnds[0], &byte, 1) != 1)
        return;
    log_.line(strprintf("Ending on %s", strsignal(byte)));
    quit_();
}

} // namespace bw::qt
