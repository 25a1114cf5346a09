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
// The least time between two lines about the refusal of one folder.
constexpr std::chrono::hours kRefusalRepeat{1};

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
    const TimePoint now = platform_.clock->now();
    for (auto& folder : folders) {
        Refusal& refusal = refusals_[folder.path];
        // Anyone who may write beside a trash folder can swap it for a link and back as
        // fast as they like: each change is news only once an hour.
        if (folder.refusal != refusal.seen && !folder.refusal.empty() &&
            (!refusal.told || now - *refusal.told >= kRefusalRepeat || now < *refusal.told)) {
            platform_.log->line(strprintf("%s %s %s; it is not measured or emptied", title_.c_str(), folder.path.c_str(),
                                          folder.refusal.c_str()));
            refusal.told = now;
        }
        refusal.seen = folder.refusal;
        if (folder.refusal.empty())
            usable.push_back(std::move(folder));
    }
    return usable;
}

void TrashBooks::forEachFolderOf(const std::vector<ItemFolder>& folders, const FolderVisit& visit)
{
    for (const auto& folder : folders) {
        // Never through a link: a folder swapped for one since it was checked lists nothing.
        const int fd = posix::openDirectoryNoFollow(folder.path);
        if (fd < 0)
            continue;
        auto names = posix::listDirectoryAt(fd);
        visit(folder, fd, names);
        close(fd);
    }
}

std::vector<std::string> TrashBooks::rootItems() const
{
    std::vector<std::string> items;
    forEachFolder([&items](const ItemFolder& folder, int, std::vector<std::string>& names) {
        for (const auto& name : names)
            items.push_back(folder.keyPrefix + name);
    });
    return items;
}

int TrashBooks::rootItemCount() const
{
    return rootItemCountOf(itemFolders());
}

int TrashBooks::rootItemCountOf(const std::vector<ItemFolder>& folders)
{
    size_t count = 0;
    forEachFolderOf(folders, [&count](const ItemFolder&, int, std::vector<std::string>& names) { count += names.size(); });
    return static_cast<int>(count);
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
    forEachFolder([&](const ItemFolder& folder, int fd, std::vector<std::string>& names) {
        const std::vector<double> sizes = utility.measuredSizesAt(fd, names);
        measured.reserve(measured.size() + names.size());
        for (size_t i = 0; i < names.size(); ++i)
            measured[folder.keyPrefix + names[i]] = sizes[i];
    });
    // The new table replaces the old one whole: items that left the trash leave it too.
    storeItems([&measured](TrashFiles& files) { files = std::move(measured); }, counter);
    releaseMeasuringFlag();
}

void TrashBooks::measureChanges(const Utility& utility, std::atomic<double>* counter)
{
    takeMeasuringFlag();
    // One listing of each folder: its names are looked up in the table as they are, and
    // only the new ones are measured.
    std::vector<std::pair<std::string, std::vector<std::string>>> listings; // key prefix, names
    TrashFiles arrivals;
    size_t known = 0;
    forEachFolder([&](const ItemFolder& folder, int fd, std::vector<std::string>& names) {
        std::vector<std::string> added;
        {
            std::string key = folder.keyPrefix;
            std::lock_guard lock(mutex_);
            for (const auto& name : names) {
                key.resize(folder.keyPrefix.size());
                key += name;
                if (items_ && items_->contains(key))
                    ++known;
                else
                    added.push_back(name);
            }
        }
        if (!added.empty()) {
            const std::vector<double> sizes = utility.measuredSizesAt(fd, added);
            for (size_t i = 0; i < added.size(); ++i)
                arrivals[folder.keyPrefix + added[i]] = sizes[i];
        }
        listings.emplace_back(folder.keyPrefix, std::move(names));
    });
    storeItems(
        [&](TrashFiles& files) {
            for (auto& [name, size] : arrivals)
                files[name] = size;
            // Every entry of the table is present unless it holds more than was found.
            if (files.size() == known + arrivals.size())
                return;
            std::unordered_set<std::string> present;
            for (const auto& [prefix, names] : listings)
                for (const auto& name : names)
                    present.insert(prefix + name);
            std::erase_if(files, [&present](const auto& entry) { return !present.contains(entry.first); });
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
