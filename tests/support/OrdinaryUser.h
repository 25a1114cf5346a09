#pragma once
// Checks that must run as an ordinary user (root may delete anything, so a repair is never
// needed for it): in a child of a death test that gives up root. Mismatches go to stderr.
#include <cstdio>
#include <grp.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace bw::test {

constexpr uid_t kNobody = 65534;

class Checks {
public:
    template <typename A, typename B>
    void equal(const A& actual, const B& expected, const std::string& what)
    {
        if (!(actual == expected)) {
            std::ostringstream line;
            line << what << ": got " << actual << ", expected " << expected << "\n";
            failures_ += line.str();
        }
    }
    [[noreturn]] void finish()
    {
        std::fputs(failures_.c_str(), stderr);
        std::fflush(stderr);
        _exit(failures_.empty() ? 0 : 1);
    }

private:
    std::string failures_;
};

inline void becomeNobody()
{
    if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0) {
        std::fputs("cannot become nobody\n", stderr);
        _exit(3);
    }
}

} // namespace bw::test
