#include "app/ConsoleOutput.h"

#include "platform/Strings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace bw {

bool out(const std::string& text)
{
    // A full disk shows in the error flag: fputs may have handed its last bytes to a write
    // that failed, leaving nothing for fflush to fail on.
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

void err(const std::string& text)
{
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

int answered(const std::string& text, Strings& strings)
{
    if (out(text))
        return kExitDone;
    err(localizedWith(strings, "The output could not be written: %1", {std::strerror(errno)}) + "\n");
    return kExitFailed;
}

int usageError(const std::string& problem, Strings& strings)
{
    err(problem + "\n" + strings.localized("Try 'brindlewick --help'.") + "\n");
    return kExitUsage;
}

} // namespace bw
