#include "finder/Utility.h"

#include "accounting/External.h"
#include "accounting/Internal.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/posix/Files.h"

#include <cerrno>
#include <sys/stat.h>
#include <unordered_set>

namespace bw {

namespace {

// The names of `walked` that `other` does not hold, in `walked`'s order, duplicates kept.
std::vector<std::string> namesMissingFrom(const std::vector<std::string>& walked,
                                          const std::vector<std::string>& other)
{
    const std::unordered_set<std::string> known(other.begin(), other.end());
    std::vector<std::string> result;
    for (const auto& name : walked)
        if (!known.contains(name))
            result.push_back(name);
    return result;
}

} // namespace

Utility::Utility(const Platform& platform) : platform_(platform) {}

void Utility::wire(Internal& internal, External& external)
{
    outInternal_ = &internal;
    outExternal_ = &external;
}

double Utility::fileSizeAtPath(const std::string& path) const
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        platform_.log->line(strprintf("*** lstat error=%d ***", errno));
        return 0.0;
    }
    return static_cast<double>(st.st_size);
}

double Utility::measuredSizeAt(int folderFd, const std::string& name) const
{
    return posix::measuredSize(folderFd, name.c_str(), [this](int error) {
        platform_.log->line(strprintf("*** lstat error=%d ***", error));
    });
}

std::vector<double> Utility::measuredSizesAt(int folderFd, const std::vector<std::string>& names) const
{
    return posix::measuredSizes(folderFd, names, kMeasuringThreads, [this](int error) {
        platform_.log->line(strprintf("*** lstat error=%d ***", error));
    });
}

std::vector<std::string> Utility::addedFilesWithPresent(const std::vector<std::string>& present,
                                                        const std::vector<std::string>& original) const
{
    return namesMissingFrom(present, original);
}

std::vector<std::string> Utility::removedFilesWithPresent(const std::vector<std::string>& present,
                                                          const std::vector<std::string>& original) const
{
    return namesMissingFrom(original, present);
}

bool Utility::isEqualArray(const std::vector<std::string>& titles, const std::vector<std::string>& strings) const
{
    return titles == strings;
}

} // namespace bw
