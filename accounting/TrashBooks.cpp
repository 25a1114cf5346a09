#include "accounting/TrashBooks.h"

#include "finder/Utility.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/posix/Files.h"

#include <cmath>
#include <unistd.h>
#include <unordered_set>

namespace bw {

namespace {

// A free-space move of more than this, either way, counts as a change.
constexpr double kFreeSizeChange = 5000000.0;

double sumOf(const TrashFiles& files)
{
    double sum = 0.0;
    for (const auto& [name, size] : files)
        sum += size;
    return sum;
}

} // namespace

double minimumFreeSize(float ratio, double capacity)
{
    return std::trunc(static_cast<double>(ratio) * capacity);
}

TrashBooks::TrashBooks(const Platform& platform, std::string title, FolderSource folders, MeasuringHook onMeasuring)
    : platform_(platform), title_(std::move(title)), folders_(std::move(folders)), onMeasuring_(std::move(onMeasuring))
{
}

std::vector<ItemFolder> TrashBooks::itemFolders() const
{
    std::vector<ItemFolder> folders = folders_();
    std::vector<ItemFolder> usable;
    std::lock_guard lock(mutex_);
    for (auto& folder : folders) {
        std::string& told = toldRefusals_[folder.path];
        if (folder.refusal != told && !folder.refusal.empty())
            platform_.log->line(strprintf("%s %s %s; it is not measured or emptied", title_.c_str(), folder.path.c_str(),
                                          folder.refusal.c_str()));
        told = folder.refusal;
        if (folder.refusal.empty())
            usable.push_back(std::move(folder));
    }
    return usable;
}

void TrashBooks::forEachFolder(
    const std::function<void(const ItemFolder&, int fd, const std::vector<std::string>&)>& visit) const
{
    for (const auto& folder : itemFolders()) {
        // Never through a link: a folder swapped for one since it was checked lists nothing.
        const int fd = posix::openDirectoryNoFollow(folder.path);
        if (fd < 0)
            continue;
        visit(folder, fd, posix::listDirectoryAt(fd));
        close(fd);
    }
}

std::vector<std::string> TrashBooks::rootItems() const
{
    std::vector<std::string> items;
    forEachFolder([&items](const ItemFolder& folder, int, const std::vector<std::string>& names) {
        for (const auto& name : names)
            items.push_back(folder.keyPrefix + name);
    });
    return items;
}

int TrashBooks::rootItemCount() const
{
    return static_cast<int>(rootItems().size());
}

std::optional<LocatedItem> TrashBooks::locate(const std::string& rootItem) const
{
    for (auto& folder : itemFolders()) {
        const std::string& prefix = folder.keyPrefix;
        if (rootItem.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string name = rootItem.substr(prefix.size());
        if (posix::isPlainName(name))
            return LocatedItem{std::move(folder), std::move(name)};
    }
    return std::nullopt;
}

// --- measurements

void TrashBooks::takeMeasuringFlag()
{
    bool expected = false;
    while (!measuring_.compare_exchange_strong(expected, true)) {
        expected = false;
        platform_.clock->sleepFor(Seconds(1.0));
    }
    status_.store(kMeasuring);
    if (onMeasuring_)
        onMeasuring_(true);
}

void TrashBooks::releaseMeasuringFlag()
{
    status_.store(kStandingBy);
    if (onMeasuring_)
        onMeasuring_(false);
    measuring_.store(false);
}

double TrashBooks::storeItems(const std::function<void(TrashFiles&)>& change, std::atomic<double>* counter)
{
    double sum = 0.0;
    {
        std::lock_guard lock(mutex_);
        if (!items_)
            items_.emplace();
        change(*items_);
        sum = sumOf(*items_);
    }
    // The counter follows the table, so what the shredder already took off an item that is
    // now gone is never taken off twice, and the counter cannot drift below zero.
    if (counter)
        counter->store(sum);
    return sum;
}

void TrashBooks::measureAll(const Utility& utility, std::atomic<double>* counter)
{
    takeMeasuringFlag();
    TrashFiles measured;
    forEachFolder([&](const ItemFolder& folder, int fd, const std::vector<std::string>& names) {
        for (const auto& name : names)
            measured[folder.keyPrefix + name] = utility.measuredSizeAt(fd, name);
    });
    // The new table replaces the old one whole: items that left the trash leave it too.
    storeItems([&measured](TrashFiles& files) { files = std::move(measured); }, counter);
    releaseMeasuringFlag();
}

void TrashBooks::measureChanges(const Utility& utility, std::atomic<double>* counter)
{
    takeMeasuringFlag();
    const std::vector<std::string> present = rootItems();
    std::vector<std::string> recorded;
    if (const auto files = items()) {
        recorded.reserve(files->size());
        for (const auto& entry : *files)
            recorded.push_back(entry.first);
    }
    const auto added = utility.addedFilesWithPresent(present, recorded);
    const auto removed = utility.removedFilesWithPresent(present, recorded);

    TrashFiles arrivals;
    if (!added.empty()) {
        const std::unordered_set<std::string> wanted(added.begin(), added.end());
        forEachFolder([&](const ItemFolder& folder, int fd, const std::vector<std::string>& names) {
            for (const auto& name : names)
                if (std::string key = folder.keyPrefix + name; wanted.count(key) != 0)
                    arrivals[std::move(key)] = utility.measuredSizeAt(fd, name);
        });
    }
    storeItems(
        [&](TrashFiles& files) {
            for (auto& [name, size] : arrivals)
                files[name] = size;
            for (const auto& name : removed)
                files.erase(name);
        },
        counter);
    releaseMeasuringFlag();
}

std::optional<TrashFiles> TrashBooks::items() const
{
    std::lock_guard lock(mutex_);
    return items_;
}

void TrashBooks::forgetItems()
{
    std::lock_guard lock(mutex_);
    items_.reset();
}

// --- change checks

bool TrashBooks::checkCountChange()
{
    const int count = rootItemCount();
    if (count == lastCount_.load())
        return false;
    lastCount_.store(count);
    return true;
}

bool TrashBooks::checkFreeSizeChange(double freeSize)
{
    const double difference = freeSize - lastFreeSize_.load();
    if (difference > kFreeSizeChange || difference < -kFreeSizeChange) {
        lastFreeSize_.store(freeSize);
        return true;
    }
    return false;
}

} // namespace bw
