// brindlewick-repair: started by pkexec for one repair of the tray program. It says "ready",
// reads one request on standard input, carries it out and reports on standard output:
//   note <text>                      a refusal or failure, one line, control characters escaped
//   done <errno> <entries> <bytes>   what it removed; the last line
// then ends. Nothing else is read, so a process that takes over its input gets one request
// of what the user may ask anyway, and no more.
#include "privileges/helper/RepairHelper.h"

#include <csignal>
#include <cstdio>

int main()
{
    const auto user = bw::repair::userFromEnvironment();
    if (!user) {
        std::fprintf(stderr, "brindlewick-repair: PKEXEC_UID names no user\n");
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    // A tree of many entries that cannot be removed must not flood the program's log.
    constexpr int kMaxNotes = 20;
    int notes = 0;
    bw::repair::Repairer repairer(*user, [&notes](const std::string& text) {
        if (++notes <= kMaxNotes)
            std::printf("note %s\n", text.c_str());
        else if (notes == kMaxNotes + 1)
            std::puts("note more failures are not told");
        std::fflush(stdout);
    });

    // Tells the program that the authorization was granted and the request is welcome.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    bw::repair::Request request;
    const auto result = bw::repair::readRequest(stdin, request);
    if (result != bw::repair::ReadResult::Request) {
        if (result == bw::repair::ReadResult::Malformed)
            std::puts("note malformed request");
        return result == bw::repair::ReadResult::Malformed ? 1 : 0;
    }
    const auto report = repairer.repair(request);
    std::printf("done %d %llu %.0f\n", report.error, static_cast<unsigned long long>(report.entries), report.bytes);
    return 0;
}
