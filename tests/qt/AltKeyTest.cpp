#include "platform/x11/X11ModifierKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bw::test {
namespace {

using namespace std::chrono_literals;

// A virtual X server of the test's own.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        for (int n = 150; n < 200 && name_.empty(); ++n)
            if (access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) != 0)
                name_ = ":" + std::to_string(n);
        pid_ = fork();
        if (pid_ == 0) {
            execlp("Xvfb", "Xvfb", name_.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        setenv("DISPLAY", name_.c_str(), 1);
    }
    ~VirtualDisplay()
    {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        unsetenv("DISPLAY");
    }
    std::unique_ptr<x11::X11ModifierKeys> connect() const
    {
        for (int tries = 0; tries < 100; ++tries) {
            if (auto keys = x11::X11ModifierKeys::open())
                return keys;
            std::this_thread::sleep_for(50ms);
        }
        return nullptr;
    }
    static void press(const char* action)
    {
        ASSERT_EQ(std::system((std::string("xdotool ") + action).c_str()), 0);
        std::this_thread::sleep_for(150ms); // longer than an answer is kept
    }

private:
    std::string name_;
    pid_t pid_ = -1;
};

TEST(AltKey, HeldExactlyWhileTheXServerHasItDownFromAnyThread)
{
    if (std::system("command -v Xvfb >/dev/null && command -v xdotool >/dev/null") != 0)
        GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps)";
    VirtualDisplay display;
    auto keys = display.connect();
    ASSERT_TRUE(keys);
    EXPECT_FALSE(keys->isOptionHeld());

    VirtualDisplay::press("keydown Alt_L");
    bool fromWorker = false;
    std::thread([&] { fromWorker = keys->isOptionHeld(); }).join();
    EXPECT_TRUE(fromWorker);
    VirtualDisplay::press("keyup Alt_L");
    EXPECT_FALSE(keys->isOptionHeld());

    VirtualDisplay::press("keydown Alt_R");
    EXPECT_TRUE(keys->isOptionHeld());
    VirtualDisplay::press("keyup Alt_R");
    VirtualDisplay::press("keydown Control_L");
    EXPECT_FALSE(keys->isOptionHeld());
    VirtualDisplay::press("keyup Control_L");
}

TEST(AltKey, NoDisplayGivesNoProbe)
{
    setenv("DISPLAY", ":199", 1);
    EXPECT_EQ(x11::X11ModifierKeys::open(), nullptr);
    unsetenv("DISPLAY");
}

} // namespace
} // namespace bw::test
