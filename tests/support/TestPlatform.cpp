#include "tests/support/TestPlatform.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace bw::test {

TempDir::TempDir(const std::string& under)
{
    std::string base = under;
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = base + "/brindlewick-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed under " + base);
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScratchVolume::ScratchVolume(const std::string& path, size_t size) : path_(path)
{
    makeFolder(path);
    const std::string options = "size=" + std::to_string(size);
    mounted_ = mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

ScratchVolume::~ScratchVolume()
{
    if (mounted_)
        umount2(path_.c_str(), MNT_DETACH);
}

void writeFile(const std::string& path, size_t size, char fill)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    const std::string chunk(4096, fill);
    for (size_t left = size; left > 0;) {
        const size_t n = std::min(left, chunk.size());
        out.write(chunk.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
}

void makeFolder(const std::string& path)
{
    std::filesystem::create_directories(path);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void setModificationTime(const std::string& path, time_t seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("cannot set the date of " + path);
}

bool exists(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

TestPlatform::TestPlatform()
{
    platform.homeDirectory = home.path();
    platform.defaults = &defaults;
    platform.log = &log;
    platform.keys = &keys;
    platform.clock = &clock;
    platform.workers = &workers;
    platform.space = &space;
    platform.strings = &strings;
    platform.itemChooser = &itemChooser;
    platform.mainLoop = &mainLoop;
    platform.statusItem = &statusItem;
    platform.alerts = &alerts;
    platform.launcher = &launcher;
    platform.volumes = &volumes;
    platform.selection = &selection;
    platform.prefsPanel = &prefsPanel;
    platform.infoPanel = &infoPanel;
    platform.autostart = &autostart;
    platform.notifier = &notifier;
    space.set(1000000000000.0, 500000000000.0);
}

TestPlatform::~TestPlatform()
{
    workers.requestQuit();
    workers.waitForAll();
}

bool eventually(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace bw::test
