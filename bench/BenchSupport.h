#pragma once
// What the benchmarks share: timing, medians, running a peer tool, naming the file system.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/vfs.h>
#include <vector>

namespace bw::bench {

template <typename F>
double timed(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Runs a shell command, its output thrown away; a failure is said, not hidden.
inline void run(const std::string& command)
{
    if (std::system((command + " > /dev/null").c_str()) != 0)
        std::printf("  (failed: %s)\n", command.c_str());
}

inline std::string quoted(const std::string& path)
{
    return "'" + path + "'";
}

// The file system that holds `path`, as the figures depend on it.
inline const char* fileSystemOf(const std::string& path)
{
    struct statfs fs {};
    if (statfs(path.c_str(), &fs) != 0)
        return "unknown";
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x01021994UL: return "tmpfs";
    case 0xEF53UL: return "ext4";
    case 0x9123683EUL: return "btrfs";
    case 0x58465342UL: return "xfs";
    default: return "other";
    }
}

// The process's peak resident size so far, in MiB.
inline double peakResidentMiB()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace bw::bench
